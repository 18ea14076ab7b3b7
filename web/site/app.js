// The explorer page: loads the package's data, then answers from memory.
// The state that matters lives in the address (?q=漢字), so a link shows
// the same cards.
import { Unihan } from './kelvorn-unihan/index.js';

const READINGS = [
  ['Mandarin', 'kMandarin'], ['Cantonese', 'kCantonese'], ['Japanese kun', 'kJapaneseKun'],
  ['Japanese on', 'kJapaneseOn'], ['Korean', 'kHangul'], ['Vietnamese', 'kVietnamese'],
];
const VARIANTS = [
  ['Simplified', 'kSimplifiedVariant'], ['Traditional', 'kTraditionalVariant'],
  ['Semantic', 'kSemanticVariant'], ['Specialized', 'kSpecializedSemanticVariant'],
  ['Z-variant', 'kZVariant'],
];
const KANGXI_RADICAL_ONE = 0x2f00;  // U+2F00 KANGXI RADICAL ONE, then the 213 others in order

const $ = (id) => document.getElementById(id);

function element(tag, attributes = {}, ...children) {
  const node = document.createElement(tag);
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
  for (const child of children) node.append(child);
  return node;
}

const signed = (n) => (n < 0 ? `${n}` : `+${n}`);

function hex(cp) { return `U+${cp.toString(16).toUpperCase().padStart(4, '0')}`; }

function charLink(ch) {
  const link = element('a', { href: `?q=${encodeURIComponent(ch)}#look-up` }, ch);
  link.addEventListener('click', (event) => {
    event.preventDefault();
    showCharacters(ch);
  });
  return link;
}

// "U+6C49" and "U+6F22<kMatthews" name characters; the tags stay out.
function variantChars(value) {
  return value.split(' ').map((item) => String.fromCodePoint(parseInt(item.slice(2), 16)));
}

function card(u, ch) {
  const cp = ch.codePointAt(0);
  const rows = element('dl');
  const row = (term, ...value) => rows.append(element('dt', {}, term), element('dd', {}, ...value));
  const rs = u.radicalStroke(ch);
  if (rs) {
    const radical = String.fromCodePoint(KANGXI_RADICAL_ONE + rs.radical - 1);
    row('Radical', `${radical} ${rs.radical}, ${signed(rs.residual)} strokes`);
  }
  const total = u.totalStrokes(ch);
  if (total !== null) row('Strokes', String(total));
  for (const [label, name] of READINGS) {
    const value = u.field(ch, name);
    // kHangul's readings carry their sources (한:0E); the card shows the readings.
    if (value !== null) row(label, value.replace(/:\S*/gu, ''));
  }
  const definition = u.field(ch, 'kDefinition');
  if (definition !== null) row('Meaning', definition);
  for (const [label, name] of VARIANTS) {
    const value = u.field(ch, name);
    if (value !== null) row(label, ...variantChars(value).map(charLink));
  }
  const known = rows.childElementCount > 0;
  return element('article', { class: 'card', 'data-char': ch },
    element('div', { class: 'glyph', lang: 'zh' }, ch),
    element('div', { class: 'code' }, hex(cp)),
    known ? rows : element('p', {}, 'Not in the Unihan database.'));
}

let unihan = null;

function showCharacters(text) {
  $('q').value = text;
  const url = new URL(window.location.href);
  if (text) url.searchParams.set('q', text); else url.searchParams.delete('q');
  window.history.replaceState(null, '', url);
  renderCards(text);
}

function renderCards(text) {
  const cards = $('cards');
  cards.replaceChildren();
  if (unihan === null) return;
  const seen = new Set();
  for (const ch of text) {
    if (/\s/u.test(ch) || seen.has(ch)) continue;
    seen.add(ch);
    cards.append(card(unihan, ch));
  }
  if (cards.childElementCount > 0 && !document.body.dataset.firstCardMs) {
    document.body.dataset.firstCardMs = performance.now().toFixed(0);
  }
}

function showRadical(radical) {
  const out = $('radical-chars');
  out.replaceChildren(element('h3', {},
    `Radical ${radical} ${String.fromCodePoint(KANGXI_RADICAL_ONE + radical - 1)}`));
  let list = null;
  let residual = null;
  for (const entry of unihan.radicalEntries(radical)) {
    if (entry.residual !== residual) {
      residual = entry.residual;
      list = element('div', { class: 'char-list', 'data-residual': String(residual) });
      out.append(element('p', { class: 'residual' }, signed(residual)), list);
    }
    list.append(charLink(entry.char));
  }
}

function radicalBrowser() {
  const list = $('radical-list');
  for (let radical = 1; radical <= 214; radical++) {
    const link = element('a', { href: '#radicals', 'data-radical': String(radical) },
      String.fromCodePoint(KANGXI_RADICAL_ONE + radical - 1), element('small', {}, String(radical)));
    link.addEventListener('click', (event) => {
      event.preventDefault();
      showRadical(radical);
    });
    list.append(link);
  }
}

function wireForms() {
  $('q').addEventListener('input', () => showCharacters($('q').value));
  $('look-up-form').addEventListener('submit', (event) => event.preventDefault());
  $('search-form').addEventListener('submit', (event) => {
    event.preventDefault();
    const found = unihan.search($('words').value);
    const out = $('search-results');
    out.replaceChildren(...found.slice(0, 300).map(charLink));
    if (found.length === 0) out.append('Nothing found.');
  });
  $('to-simplified').addEventListener('click', () => {
    $('converted').value = unihan.toSimplified($('convert-text').value);
  });
  $('to-traditional').addEventListener('click', () => {
    $('converted').value = unihan.toTraditional($('convert-text').value);
  });
}

async function main() {
  const query = new URL(window.location.href).searchParams.get('q') || '';
  $('q').value = query;
  try {
    unihan = await Unihan.load();  // fetched beside the module
  } catch (error) {
    $('status').textContent = `The data could not be loaded: ${error.message}`;
    return;
  }
  $('status').textContent = `Unicode ${unihan.unicodeVersion}: ${unihan.fieldNames.length} fields.`;
  renderCards(query);
  radicalBrowser();
  wireForms();
  document.body.dataset.ready = 'true';
}

main();
