// The alert over the page: its fields and actions; an action sends the fields' texts. While
// it is open the rest of the page is inert, so the keyboard stays in the alert: Escape takes
// its cancel action, Enter in a field its first other action. `send` sends the action;
// `focusTargets` keeps where the focus returns when the alert closes.
import { $, applyKeyboard, element } from './dom.js';

const BEHIND_ALERT = ['toolbar', 'navbar', 'content', 'file-import'];

export function createAlerts({ send, focusTargets }) {
  return { renderAlert: (alert, openedFrom) => renderAlert(alert, openedFrom, send, focusTargets) };
}

// Draws the alert (or hides it) and says whether one is open. `openedFrom` is the view id of
// what had the focus before the page was drawn again, where the focus returns when it closes.
function renderAlert(alert, openedFrom, send, focusTargets) {
  const layer = $('alert-layer');
  if (!alert) {
    closeLayer();
    return false;
  }
  const keep = [...document.querySelectorAll('#alert-fields input')].map((input) => input.value);
  const sameAlert = !layer.hidden && $('alert-title').textContent === (alert.title || '');
  const focused = sameAlert ? focusedPlace() : null;
  if (layer.hidden) focusTargets.keepForAlert(openedFrom);
  $('alert-title').textContent = alert.title || '';
  $('alert-message').textContent = alert.message || '';
  const actions = alert.actions || [];
  const fields = (alert.textFields || []).map((field, i) => alertField(field, alert, sameAlert ? keep[i] : undefined));
  const buttons = actions.map((action, index) => alertAction(action, index, fields, send));
  $('alert-fields').replaceChildren(...fields);
  $('alert-actions').replaceChildren(...buttons);
  $('alert-actions').classList.toggle('stacked', buttons.length > 2);
  openLayer(actions, buttons);
  const again = focused && document.querySelector(focused);
  (again || fields[0] || buttons[preferredAction(actions)] || buttons[0])?.focus();
  return true;
}

function openLayer(actions, buttons) {
  for (const id of BEHIND_ALERT) $(id).inert = true;
  $('alert-layer').hidden = false;
  $('alert').onkeydown = (e) => {
    if (e.key !== 'Escape') return;
    const cancel = cancelAction(actions);
    if (cancel < 0) return;
    e.preventDefault();
    buttons[cancel].click();
  };
  for (const field of $('alert-fields').children) {
    field.onkeydown = (e) => {
      const chosen = preferredAction(actions);
      if (e.key !== 'Enter' || chosen < 0) return;
      e.preventDefault();
      buttons[chosen].click();
    };
  }
}

function closeLayer() {
  $('alert-layer').hidden = true;
  for (const id of BEHIND_ALERT) $(id).inert = false;
}

// The element of the open alert that has the focus, as a selector that finds it again.
function focusedPlace() {
  const active = document.activeElement;
  const list = active?.closest('#alert-fields, #alert-actions');
  if (!list) return null;
  return `#${list.id} > :nth-child(${[...list.children].indexOf(active) + 1})`;
}

// Panes often give their "Cancel" the default style: the title says it too.
const cancels = (action) => action.style === 'cancel' || /^cancel$/i.test(String(action.title ?? '').trim());

// The action Escape takes: the one that cancels, or the only one.
function cancelAction(actions) {
  const cancel = actions.findIndex(cancels);
  return cancel >= 0 || actions.length !== 1 ? cancel : 0;
}

// The action Enter takes and the keyboard starts on: the first that does not cancel.
function preferredAction(actions) {
  const chosen = actions.findIndex((action) => !cancels(action));
  return chosen >= 0 ? chosen : actions.length - 1;
}

function alertField(field, alert, kept) {
  const input = element('input');
  input.type = field.secure ? 'password' : 'text';
  input.placeholder = field.placeholder || '';
  input.ariaLabel = field.placeholder || alert.title || 'Text';
  input.value = kept ?? field.text ?? '';
  applyKeyboard(input, field.keyboardType);
  return input;
}

function alertAction(action, index, fields, send) {
  const button = element('button', 'alert-action ' + (action.style || 'default'), action.title);
  button.type = 'button';
  button.addEventListener('click', () => {
    closeLayer();
    send({ type: 'alertAction', index, texts: fields.map((input) => input.value) });
  });
  return button;
}
