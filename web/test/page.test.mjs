// The explorer page in headless Chromium, served from 127.0.0.1: the cards
// of a shared link, typing, the radical browser, search and conversion.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { fileURLToPath } from 'node:url';
import { launch, serve } from './chromium.mjs';

const site = process.env.KELVORN_WEB_SITE ||
  fileURLToPath(new URL('../../build-web/site/', import.meta.url));
let server;
let browser;

before(async () => {
  server = await serve(site);
  browser = await launch();
});

after(async () => {
  try {
    await browser?.close();
  } finally {
    server?.close();
  }
});

const cardText = (ch) => `document.querySelector('.card[data-char="${ch}"]')?.innerText ?? ''`;

test('a shared link shows the cards of its characters', async () => {
  await browser.open(`${server.url}?q=${encodeURIComponent('漢字𠀀a')}`);
  await browser.waitFor('document.body.dataset.ready');
  const han = await browser.evaluate(cardText('漢'));
  for (const expected of ['U+6F22', '85, +11 strokes', '14', 'hàn', 'the Chinese people', '汉']) {
    assert.ok(han.includes(expected), `${expected} on the card of 漢: ${han}`);
  }
  assert.ok((await browser.evaluate(cardText('𠀀'))).includes('U+20000'));
  assert.ok((await browser.evaluate(cardText('a'))).includes('Not in the Unihan database'));
  assert.equal(await browser.evaluate('document.querySelectorAll(".card").length'), 4);
});

test('typing shows cards and puts the characters in the address', async () => {
  await browser.evaluate(`(() => { const q = document.getElementById('q');
    q.value = '王'; q.dispatchEvent(new Event('input')); })()`);
  assert.ok((await browser.evaluate(cardText('王'))).includes('96, -1 strokes'));
  assert.equal(await browser.evaluate('new URL(location.href).searchParams.get("q")'), '王');
});

test('the radical browser lists the 214 radicals, then a radical by residual strokes', async () => {
  assert.equal(await browser.evaluate('document.querySelectorAll("[data-radical]").length'), 214);
  await browser.evaluate('document.querySelector("[data-radical=\\"85\\"]").click()');
  const groups = await browser.evaluate(`[...document.querySelectorAll('#radical-chars [data-residual]')]
    .map((g) => [Number(g.dataset.residual), g.textContent])`);
  assert.ok(groups.find(([residual]) => residual === 0)[1].startsWith('水氵氺'));
  const eleven = groups.find(([residual]) => residual === 11);
  assert.ok(eleven[1].includes('漢'));
  const residuals = groups.map(([residual]) => residual);
  assert.deepEqual(residuals, [...residuals].sort((a, b) => a - b));
});

test('search by meaning and conversion', async () => {
  await browser.evaluate(`(() => { document.getElementById('words').value = 'Chinese people';
    document.querySelector('#search-form button').click(); })()`);
  assert.ok((await browser.evaluate('document.getElementById("search-results").textContent')).includes('漢'));
  await browser.evaluate(`(() => { document.getElementById('convert-text').value = '漢字簡體';
    document.getElementById('to-simplified').click(); })()`);
  assert.equal(await browser.evaluate('document.getElementById("converted").value'), '汉字简体');
  await browser.evaluate('document.getElementById("to-traditional").click()');
  assert.equal(await browser.evaluate('document.getElementById("converted").value'), '漢字簡體');
});

test('at a phone\'s width nothing is wider than the screen', async () => {
  await browser.send('Emulation.setDeviceMetricsOverride',
    { width: 360, height: 740, deviceScaleFactor: 2, mobile: true });
  await browser.open(`${server.url}?q=${encodeURIComponent('漢字')}`);
  await browser.waitFor('document.body.dataset.ready');
  await browser.evaluate('document.querySelector("[data-radical=\\"85\\"]").click()');
  assert.ok(await browser.evaluate('document.documentElement.scrollWidth') <= 360);
  const cardWidth = await browser.evaluate('document.querySelector(".card").getBoundingClientRect().right');
  assert.ok(cardWidth <= 360, `a card ends at ${cardWidth}`);
});
