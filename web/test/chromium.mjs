// Headless Chromium driven over its DevTools protocol, for the page's tests
// and its benchmark: open a URL, evaluate expressions in it. Needs Node's
// WebSocket (node --experimental-websocket on Node 20).
import { spawn } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

// Without the background-networking flags Chromium reaches out to the
// network at start, and a closed network refuses it.
const FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--disable-extensions', '--remote-debugging-port=0'];

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

export async function launch(executable = process.env.CHROMIUM || '/usr/bin/chromium') {
  const profile = mkdtempSync(join(tmpdir(), 'kelvorn-chromium-'));
  // Its own process group, so that closing can end the helper processes too.
  const child = spawn(executable, [...FLAGS, `--user-data-dir=${profile}`, 'about:blank'],
    { stdio: 'ignore', detached: true });
  child.unref();
  try {
    return new Browser(child, profile, await connect(profile));
  } catch (error) {
    await new Browser(child, profile, null).close();
    throw error;
  }
}

// The DevTools socket of the first page of the Chromium that writes profile.
async function connect(profile) {
  let port = null;
  for (let waited = 0; port === null; waited += 50) {
    if (waited > 30000) throw new Error('Chromium did not open its DevTools port');
    try {
      port = readFileSync(join(profile, 'DevToolsActivePort'), 'utf8').split('\n')[0];
    } catch {
      await sleep(50);
    }
  }
  const targets = await (await fetch(`http://127.0.0.1:${port}/json/list`)).json();
  const page = targets.find((t) => t.type === 'page');
  const socket = new WebSocket(page.webSocketDebuggerUrl);
  await new Promise((resolve, reject) => {
    socket.onopen = resolve;
    socket.onerror = () => reject(new Error('cannot reach Chromium'));
  });
  return socket;
}

class Browser {
  constructor(child, profile, socket) {
    this.child = child;
    this.profile = profile;
    this.socket = socket;
    this.next = 1;
    this.waiting = new Map();
    if (socket === null) return;
    socket.onmessage = (event) => {
      const message = JSON.parse(event.data);
      const waiter = this.waiting.get(message.id);
      if (waiter === undefined) return;
      this.waiting.delete(message.id);
      if (message.error) waiter.reject(new Error(message.error.message));
      else waiter.resolve(message.result);
    };
  }

  send(method, params = {}) {
    const id = this.next++;
    this.socket.send(JSON.stringify({ id, method, params }));
    return new Promise((resolve, reject) => this.waiting.set(id, { resolve, reject }));
  }

  async open(url) {
    await this.send('Page.navigate', { url });
  }

  // The value of an expression in the page (awaited when a promise).
  async evaluate(expression) {
    const { result, exceptionDetails } = await this.send('Runtime.evaluate',
      { expression, awaitPromise: true, returnByValue: true });
    if (exceptionDetails) throw new Error(exceptionDetails.exception?.description ?? 'failed');
    return result.value;
  }

  // Evaluates until the expression is truthy; its value.
  async waitFor(expression, timeoutMs = 20000) {
    for (let waited = 0; waited < timeoutMs; waited += 25) {
      const value = await this.evaluate(expression).catch(() => undefined);
      if (value) return value;
      await sleep(25);
    }
    throw new Error(`timed out waiting for ${expression}`);
  }

  // Ends Chromium and every helper it started, then removes the profile.
  // The helpers (crash handler, utility processes) outlive the browser
  // process and keep writing to the profile unless the group is killed.
  async close() {
    this.socket?.close();
    const exited = this.child.exitCode !== null ||
      new Promise((resolve) => this.child.once('exit', resolve));
    killGroup(this.child.pid, 'SIGTERM');
    await Promise.race([exited, sleep(5000)]);
    for (let attempt = 0; ; attempt++) {
      killGroup(this.child.pid, 'SIGKILL');
      try {
        rmSync(this.profile, { recursive: true, force: true });
        return;
      } catch (error) {
        if (attempt === 50) throw error;
        await sleep(100);
      }
    }
  }
}

function killGroup(pid, signal) {
  try {
    process.kill(-pid, signal);
  } catch {
    // The group has already gone.
  }
}

// A static server on 127.0.0.1 over dir, on a free port; its URL.
export async function serve(dir) {
  const http = await import('node:http');
  const { readFile } = await import('node:fs/promises');
  const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
    '.wasm': 'application/wasm', '.gz': 'application/gzip' };
  const server = http.createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = join(dir, path.endsWith('/') ? `${path}index.html` : path);
    try {
      const body = await readFile(file);
      const type = types[file.slice(file.lastIndexOf('.'))] ?? 'application/octet-stream';
      response.writeHead(200, { 'content-type': type });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  // A test that fails before closing it must not keep Node running.
  server.unref();
  const close = () => {
    server.closeAllConnections();
    server.close();
  };
  return { url: `http://127.0.0.1:${server.address().port}/`, close };
}
