// The immersive-reader page in a real browser (the system's chromium, driven by
// playwright-core). The page is opened from its file; a shim plays the app's script
// message handlers, and a stub of the reading service listens on loopback. The launch
// script comes from the library's own encoder (the immersive-launch-script tool), so a
// text makes the whole trip: app -> page -> service and back to the app.
//
//   node immersive-reader.test.mjs --page PATH --launch-script TOOL [--chromium PATH]
//
// Exit codes: 0 pass, 1 fail, 77 skipped (no chromium installed).

import { execFileSync } from 'node:child_process';
import { existsSync } from 'node:fs';
import http from 'node:http';
import { pathToFileURL } from 'node:url';

const SKIP = 77;

function argument(name, fallback) {
  const index = process.argv.indexOf(name);
  return index > 0 && index + 1 < process.argv.length ? process.argv[index + 1] : fallback;
}

const pagePath = argument('--page');
const launchTool = argument('--launch-script');
const chromiumPath = argument('--chromium', process.env.LECTORO_CHROMIUM || '/usr/bin/chromium');

if (!existsSync(chromiumPath)) {
  console.log(`SKIP immersive-reader page: no chromium at ${chromiumPath}`);
  process.exit(SKIP);
}
if (!pagePath || !launchTool) {
  console.log('FAIL immersive-reader page: --page and --launch-script are required');
  process.exit(1);
}

let chromium;
try {
  ({ chromium } = await import('playwright-core'));
} catch (error) {
  console.log('FAIL immersive-reader page: playwright-core is not installed (run scripts/install-deps.sh)');
  process.exit(1);
}

// The stub reading service: the token decides the answer.
const received = [];
const statusForToken = { 'token-ok': 200, 'token-expired': 401, 'token-busy': 429, 'token-refused': 400 };
const server = http.createServer((request, response) => {
  const cors = {
    'Access-Control-Allow-Origin': '*',
    'Access-Control-Allow-Headers': 'Authorization, Content-Type',
    'Access-Control-Allow-Methods': 'POST, OPTIONS',
  };
  if (request.method === 'OPTIONS') {
    response.writeHead(204, cors);
    response.end();
    return;
  }
  let body = '';
  request.setEncoding('utf8');
  request.on('data', (part) => { body += part; });
  request.on('end', () => {
    const token = (request.headers.authorization || '').replace(/^Bearer /, '');
    let parsed = null;
    try { parsed = JSON.parse(body); } catch (error) { /* recorded as null */ }
    received.push({ path: request.url, token, body: parsed });
    response.writeHead(statusForToken[token] ?? 500, { ...cors, 'Content-Type': 'application/json' });
    response.end('{}');
  });
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const serviceURL = `http://127.0.0.1:${server.address().port}/`;

const failures = [];
let checks = 0;
function check(condition, what) {
  checks += 1;
  if (!condition) failures.push(what);
}

function launchScript(text, token, extra = []) {
  return execFileSync(launchTool,
    ['--token', token, '--subdomain', 'lectoro-local', '--custom-domain', serviceURL, ...extra, text],
    { encoding: 'utf8' });
}

const MESSAGE_NAMES = ['readyForContent', 'launchSuccessful', 'tokenExpired', 'throttled',
  'invalidMessagePassed', 'onExit', 'onPreferencesChanged'];

// The app's side: window.webkit.messageHandlers.<name>.postMessage, recorded in order.
const shim = `
  window.__posted = [];
  window.webkit = { messageHandlers: {} };
  for (const name of ${JSON.stringify(MESSAGE_NAMES)}) {
    window.webkit.messageHandlers[name] = {
      postMessage(body) { window.__posted.push({ name, body: body === undefined ? null : structuredClone(body) }); }
    };
  }`;

const browser = await chromium.launch({ executablePath: chromiumPath, args: ['--no-sandbox', '--disable-gpu'] });
try {
  const page = await browser.newPage();
  page.setDefaultTimeout(10000);
  const pageErrors = [];
  page.on('pageerror', (error) => pageErrors.push(String(error)));
  await page.addInitScript(shim);
  await page.goto(pathToFileURL(pagePath).href);

  const posted = () => page.evaluate(() => window.__posted);
  const waitForMessage = (name, count = 1) => page.waitForFunction(
    ([n, c]) => window.__posted.filter((m) => m.name === n).length >= c, [name, count]);

  check((await posted()).some((m) => m.name === 'readyForContent'), 'the page posts readyForContent when loaded');

  // A hostile text makes the round trip unchanged.
  const text = 'He said "hi" \\ and \'bye\'\nsecond line\r\n\tU+2028:\u2028U+2029:\u2029 </script><b>x</b> '
    + '\u{1F600} \u0645\u0631\u062D\u0628\u0627 ${not} `tpl` end';
  const safeText = text;
  await page.evaluate(launchScript(safeText, 'token-ok'));
  await waitForMessage('launchSuccessful');
  const success = (await posted()).find((m) => m.name === 'launchSuccessful');
  check(success && success.body.title === safeText, 'the title posted back to the app is the text unchanged');
  check(success && success.body.chunkCount === 1, 'one chunk launched');
  const shown = await page.evaluate(() => document.querySelector('#chunks .chunk').textContent);
  check(shown === safeText, 'the page shows the text unchanged, as text');
  check(await page.evaluate(() => document.querySelectorAll('#chunks b').length === 0), 'markup in the text is not parsed');
  const request = received.at(-1);
  check(request && request.token === 'token-ok', 'the service hears the access token');
  check(request && request.body && request.body.content.chunks[0].content === safeText,
    'the service receives the text unchanged');

  // Preferences: reported as text, and applied when they come back.
  await page.click('#larger');
  await waitForMessage('onPreferencesChanged');
  const preferences = (await posted()).find((m) => m.name === 'onPreferencesChanged').body;
  check(typeof preferences === 'string' && JSON.parse(preferences).textSize === 22,
    'a larger text size is reported as preferences text');
  await page.reload();
  await page.evaluate(launchScript('again', 'token-ok', ['--preferences', preferences]));
  await waitForMessage('launchSuccessful');
  const size = await page.evaluate(() => getComputedStyle(document.getElementById('reader')).fontSize);
  check(size === '22px', `stored preferences are applied on launch (font size ${size})`);

  // The service's refusals become the named messages.
  for (const [token, name] of [['token-expired', 'tokenExpired'], ['token-busy', 'throttled'],
    ['token-refused', 'invalidMessagePassed']]) {
    await page.evaluate(launchScript('refused', token));
    await waitForMessage(name);
    check(true, `${token} gives ${name}`);
  }
  // A message that is no launch message.
  const before = (await posted()).filter((m) => m.name === 'invalidMessagePassed').length;
  await page.evaluate(() => window.launchImmersiveReader({ content: { title: 't', chunks: [] } }));
  await waitForMessage('invalidMessagePassed', before + 1);
  check(true, 'empty chunks give invalidMessagePassed');

  await page.click('#exit');
  await waitForMessage('onExit');
  check((await posted()).filter((m) => m.name === 'onExit').length === 1, 'the exit button posts onExit once');
  check(pageErrors.length === 0, `no script errors in the page (${pageErrors.join('; ')})`);
} catch (error) {
  failures.push(`the run stopped: ${error.message}`);
} finally {
  await browser.close();
  server.close();
}

if (failures.length) {
  console.log(`FAIL immersive-reader page: ${failures.length} of ${checks} checks failed`);
  for (const failure of failures) console.log(`  - ${failure}`);
  process.exit(1);
}
console.log(`PASS immersive-reader page: ${checks} checks`);
