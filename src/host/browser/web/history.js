// The Undo and Redo buttons above the phone and their shortcuts: Ctrl+Z or Cmd+Z undoes,
// Ctrl+Shift+Z, Cmd+Shift+Z or Ctrl+Y redoes, except in a text field, whose own undo
// applies there. A button names the step it takes; a screen reader hears the step taken
// once the screen shows it taken. `send` sends the event.
import { $ } from './dom.js';
import { announce } from './notices.js';

const DIRECTIONS = [
  { type: 'undo', verb: 'Undo', done: 'Undone', other: 'redo' },
  { type: 'redo', verb: 'Redo', done: 'Redone', other: 'undo' },
];

export function createHistory({ send }) {
  // The step the user took and the direction, until a screen shows it on the other side.
  let taking = null;
  let shown = { undo: null, redo: null };

  function take(direction) {
    const title = shown[direction.type];
    if (typeof title !== 'string') return;
    taking = { direction, title };
    send({ type: direction.type });
  }

  function show(history) {
    shown = { undo: history?.undo ?? null, redo: history?.redo ?? null };
    for (const direction of DIRECTIONS) {
      const button = $(direction.type);
      const title = shown[direction.type];
      button.disabled = typeof title !== 'string';
      button.textContent = button.disabled ? direction.verb : `${direction.verb} ${title}`;
    }
    if (taking && shown[taking.direction.other] === taking.title) {
      announce(`${taking.direction.done}: ${taking.title}`);
      taking = null;
    }
  }

  function setUp() {
    for (const direction of DIRECTIONS) $(direction.type).addEventListener('click', () => take(direction));
    document.addEventListener('keydown', (e) => {
      const direction = shortcutOf(e);
      if (!direction || isTyping(e.target) || !$('alert-layer').hidden) return;
      e.preventDefault();
      take(direction);
    });
  }

  return { show, setUp };
}

function shortcutOf(e) {
  if (!(e.ctrlKey || e.metaKey) || e.altKey) return null;
  const key = e.key.toLowerCase();
  if (key === 'z') return DIRECTIONS[e.shiftKey ? 1 : 0];
  return key === 'y' && e.ctrlKey && !e.shiftKey ? DIRECTIONS[1] : null;
}

function isTyping(target) {
  if (!target || target.isContentEditable) return Boolean(target);
  if (target.tagName === 'TEXTAREA') return true;
  return target.tagName === 'INPUT' && !['checkbox', 'radio', 'range', 'button', 'submit', 'file'].includes(target.type);
}
