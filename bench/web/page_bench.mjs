// The explorer page in headless Chromium from 127.0.0.1: milliseconds from
// navigation to the first card of ?q=漢 (the page's own performance.now()),
// median of fresh loads with an empty cache.
//   node --experimental-websocket page_bench.mjs SITE_DIR
import { launch, serve } from '../../web/test/chromium.mjs';

const server = await serve(process.argv[2]);
const times = [];
try {
  for (let run = 0; run < 5; run++) {
    const browser = await launch();
    try {
      await browser.open(`${server.url}?q=${encodeURIComponent('漢')}`);
      times.push(Number(await browser.waitFor('document.body.dataset.firstCardMs')));
    } finally {
      await browser.close();
    }
  }
} finally {
  server.close();
}
times.sort((a, b) => a - b);
console.log(`first card of ?q=漢 in Chromium (ms, median of ${times.length})\t${times[times.length >> 1]}`);
