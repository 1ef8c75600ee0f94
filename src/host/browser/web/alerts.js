// The alert over the page: its fields and actions; an action sends the fields' texts.
import { $, element } from './shared.js';
import { send } from './transport.js';

export function renderAlert(alert) {
  const layer = $('alert-layer');
  if (!alert) { layer.hidden = true; return; }
  const keep = [...document.querySelectorAll('#alert-fields input')].map((input) => input.value);
  const sameAlert = !layer.hidden && $('alert-title').textContent === (alert.title || '');
  $('alert-title').textContent = alert.title || '';
  $('alert-message').textContent = alert.message || '';
  const fields = (alert.textFields || []).map((field, i) => alertField(field, sameAlert ? keep[i] : undefined));
  $('alert-fields').replaceChildren(...fields);
  const actions = (alert.actions || []).map((action, index) => alertAction(action, index, fields));
  $('alert-actions').replaceChildren(...actions);
  $('alert-actions').classList.toggle('stacked', actions.length > 2);
  layer.hidden = false;
  if (fields.length && !sameAlert) fields[0].focus();
}

function alertField(field, kept) {
  const input = element('input');
  input.type = field.secure ? 'password' : 'text';
  input.placeholder = field.placeholder || '';
  input.value = kept ?? field.text ?? '';
  applyKeyboard(input, field.keyboardType);
  return input;
}

function alertAction(action, index, fields) {
  const button = element('button', 'alert-action ' + (action.style || 'default'), action.title);
  button.type = 'button';
  button.addEventListener('click', () => {
    $('alert-layer').hidden = true;
    send({ type: 'alertAction', index, texts: fields.map((input) => input.value) });
  });
  return button;
}


export function applyKeyboard(field, keyboardType) {
  const modes = { numberPad: 'numeric', decimalPad: 'decimal', phonePad: 'tel', emailAddress: 'email', URL: 'url' };
  if (modes[keyboardType]) field.inputMode = modes[keyboardType];
}
