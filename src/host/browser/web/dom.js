// Element helpers for every module, and the checks that keep whatever the server sends from
// becoming markup, script or a foreign address. No state: each module owns its own.

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

export function renderImage(node, className) {
  const image = element('img', className);
  image.alt = '';
  image.draggable = false;
  if (safeImage(node.image)) image.src = node.image;
  return image;
}

export function applyKeyboard(field, keyboardType) {
  const modes = { numberPad: 'numeric', decimalPad: 'decimal', phonePad: 'tel', emailAddress: 'email', URL: 'url' };
  if (modes[keyboardType]) field.inputMode = modes[keyboardType];
}
