// What the page's modules share: the page state, element helpers, and the checks that keep
// whatever the server sends from becoming markup, script or a foreign address.

// `shown` is what the page draws of the last screen it rendered (see views.js).
// `held` is the slider or self-drawn view under a pressed pointer: while it is held, new
// screens patch the page in place, because replacing the element would end the drag.
// `focusNext` names (by view id) the element to focus once the next screen is drawn, and
// `focusBeforeAlert` the one to focus again when the alert closes, and `openers` those that
// opened each page under the one shown. `texts` holds the page's texts by key, to tell a
// screen reader what a change altered.
export const state = { screen: null, shown: null, revision: 0, announced: 0, busy: false, queue: [], held: null,
  deferred: null, focusNext: null, focusBeforeAlert: null, openers: [], texts: null };

export const $ = (id) => document.getElementById(id);

// Every text goes through textContent, never HTML.
export function element(tag, className, text) {
  const node = document.createElement(tag);
  if (className) node.className = className;
  if (text !== undefined && text !== null) node.textContent = String(text);
  return node;
}

// Colours arrive as "#RRGGBB" or "#RRGGBBAA"; anything else is no colour.
export function parseColor(value) {
  const match = typeof value === 'string' && /^#([0-9A-Fa-f]{6})([0-9A-Fa-f]{2})?$/.exec(value);
  if (!match) return null;
  const channel = (text, at) => parseInt(text.slice(at, at + 2), 16);
  return { red: channel(match[1], 0), green: channel(match[1], 2), blue: channel(match[1], 4),
    alpha: match[2] ? channel(match[2], 0) / 255 : 1 };
}

export function color(value) {
  return parseColor(value) ? value : '';
}

// A colour with its own alpha scaled by `opacity`, for CSS.
export function rgba(value, opacity = 1) {
  const parsed = parseColor(value);
  if (!parsed) return '';
  return `rgba(${parsed.red}, ${parsed.green}, ${parsed.blue}, ${parsed.alpha * opacity})`;
}

export function safeImage(source) {
  return typeof source === 'string' &&
    (/^data:image\/(png|jpeg|gif|svg\+xml);base64,/.test(source) || /^\/(?!\/)/.test(source));
}

// The point of a pointer event in the coordinates of `view`.
export function pointIn(view, event) {
  const box = view.getBoundingClientRect();
  return [event.clientX - box.left + view.scrollLeft, event.clientY - box.top + view.scrollTop];
}
