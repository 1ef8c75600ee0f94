// The controls and texts of a page, one render function per kind: labels, buttons, switches,
// sliders, text fields and views, and views that draw themselves. What the user does with
// them goes back as events through `send`; a slider or picture under the pointer is held in
// `grip` until it is let go.
import { applyKeyboard, color, element, pointIn, renderImage } from './dom.js';

export function createControls({ send, grip }) {
  function control(node, name, extra) {
    send(Object.assign({ type: 'control', id: String(node.id), event: name }, extra));
  }

  function renderButton(node) {
    const button = element('button', 'button', node.title ?? node.text);
    button.type = 'button';
    button.disabled = node.enabled === false;
    button.dataset.viewId = 'button:' + node.id;
    if (color(node.titleColor)) button.style.color = node.titleColor;
    if (node.accessibleName) button.ariaLabel = node.accessibleName;
    // An untitled button over nothing that says what it does is a surface for the pointer.
    if (!button.textContent && !node.accessibleName) Object.assign(button, { tabIndex: -1, ariaHidden: 'true' });
    button.addEventListener('pointerdown', (e) => { e.stopPropagation(); control(node, 'touchDown', { point: pointIn(button, e) }); });
    button.addEventListener('click', (e) => {
      e.stopPropagation();
      // A click from the keyboard (Enter, Space) has no pointer: it lands in the middle.
      const point = e.detail === 0 ? [button.clientWidth / 2, button.clientHeight / 2] : pointIn(button, e);
      if (e.detail === 0) control(node, 'touchDown', { point });
      control(node, 'touchUpInside', { point });
    });
    return button;
  }

  function renderSwitch(node) {
    const toggle = element('input', 'switch');
    toggle.type = 'checkbox';
    toggle.setAttribute('role', 'switch');
    toggle.checked = Boolean(node.on);
    toggle.disabled = node.enabled === false;
    toggle.dataset.viewId = 'switch:' + node.id;
    if (node.accessibleName) toggle.ariaLabel = node.accessibleName;
    toggle.addEventListener('click', (e) => e.stopPropagation());
    toggle.addEventListener('keydown', (e) => { if (e.key === 'Enter') { e.preventDefault(); toggle.click(); } });
    toggle.addEventListener('change', () => control(node, 'valueChanged', { value: toggle.checked }));
    return toggle;
  }

  // A drag sends touchDown, then valueChanged (with a touchDragInside-style point) as the value
  // moves, then touchUpInside with the final value on release.
  function renderSlider(node) {
    const slider = element('input', 'slider');
    slider.type = 'range';
    slider.min = node.min ?? 0;
    slider.max = node.max ?? 1;
    slider.step = 'any';
    slider.value = node.value ?? 0;
    slider.disabled = node.enabled === false;
    slider.dataset.viewId = 'slider:' + node.id;
    if (node.accessibleName) slider.ariaLabel = node.accessibleName;
    const pointOf = () => {
      const [min, max] = [Number(slider.min), Number(slider.max)];
      const width = slider.getBoundingClientRect().width;
      return [max > min ? ((slider.value - min) / (max - min)) * width : 0, slider.getBoundingClientRect().height / 2];
    };
    slider.addEventListener('click', (e) => e.stopPropagation());
    slider.addEventListener('pointerdown', (e) => {
      e.stopPropagation();
      grip.hold(slider);
      control(node, 'touchDown', { point: pointIn(slider, e) });
    });
    slider.addEventListener('input', () => control(node, 'valueChanged', { value: Number(slider.value), point: pointOf() }));
    slider.addEventListener('change', () => control(node, 'touchUpInside', { value: Number(slider.value), point: pointOf() }));
    slider.addEventListener('keydown', (e) => {
      const value = keyedValue(slider, e);
      if (value === null) return;
      e.preventDefault();
      slider.value = value;
      describeValue(slider);
      control(node, 'touchDown', { point: pointOf() });
      control(node, 'valueChanged', { value: Number(slider.value), point: pointOf() });
      control(node, 'touchUpInside', { value: Number(slider.value), point: pointOf() });
    });
    describeValue(slider);
    return slider;
  }

  function renderTextField(node) {
    const field = element('input', 'field');
    field.type = node.secure ? 'password' : 'text';
    field.value = node.text ?? '';
    field.placeholder = node.placeholder ?? '';
    field.disabled = node.enabled === false;
    field.dataset.viewId = 'field:' + node.id;
    if (node.accessibleName || node.placeholder) field.ariaLabel = node.accessibleName || node.placeholder;
    if (node.borderStyle && node.borderStyle !== 'none') field.classList.add('bordered');
    applyKeyboard(field, node.keyboardType);
    let sent = field.value;
    const finish = () => {
      if (field.value === sent) return;
      sent = field.value;
      send({ type: 'text', id: String(node.id), text: field.value, end: true });
    };
    field.addEventListener('click', (e) => e.stopPropagation());
    field.addEventListener('keydown', (e) => { if (e.key === 'Enter') { finish(); field.blur(); } });
    field.addEventListener('blur', finish);
    return withOwnViews(field, node.subviews);
  }

  function renderTextView(node) {
    if (!node.editable) return element('div', 'textview', node.text);
    const area = element('textarea', 'textview');
    area.value = node.text ?? '';
    area.dataset.viewId = 'text:' + node.id;
    area.addEventListener('blur', () => send({ type: 'text', id: String(node.id), text: area.value, end: true }));
    return area;
  }

  // A view that draws itself arrives as a picture; touches on it go back as control events
  // with their points, as the view would receive them.
  function renderSelfDrawn(node) {
    const image = renderImage(node, 'selfdrawn');
    let down = false;
    image.addEventListener('click', (e) => e.stopPropagation());
    image.addEventListener('pointerdown', (e) => {
      e.stopPropagation();
      down = true;
      grip.hold(image);
      image.setPointerCapture(e.pointerId);
      control(node, 'touchDown', { point: pointIn(image, e) });
    });
    image.addEventListener('pointermove', (e) => {
      if (down) control(node, 'touchDragInside', { point: pointIn(image, e) });
    });
    image.addEventListener('pointerup', (e) => {
      if (!down) return;
      down = false;
      const [x, y] = pointIn(image, e);
      const inside = x >= 0 && y >= 0 && x <= image.clientWidth && y <= image.clientHeight;
      control(node, inside ? 'touchUpInside' : 'touchUpOutside', { point: [x, y] });
    });
    return image;
  }

  return {
    kinds: {
      UILabel: renderLabel,
      UIButton: renderButton,
      UISwitch: renderSwitch,
      UISlider: renderSlider,
      UITextField: renderTextField,
      UITextView: renderTextView,
    },
    renderSelfDrawn,
  };
}

function renderLabel(node) {
  const label = element('div', 'label', node.text);
  if (node.numberOfLines === 0 || node.numberOfLines > 1) label.classList.add('multiline');
  return label;
}

// A key on a slider moves it as a finger would, from press to release: arrows by a hundredth
// of its range, Page Up and Page Down by a tenth, Home and End to its ends.
function keyedValue(slider, e) {
  const [min, max, value] = [Number(slider.min), Number(slider.max), Number(slider.value)];
  const step = (max - min) / 100;
  const moves = { ArrowRight: step, ArrowUp: step, ArrowLeft: -step, ArrowDown: -step, PageUp: step * 10, PageDown: -step * 10 };
  if (e.key === 'Home') return min;
  if (e.key === 'End') return max;
  if (!Object.hasOwn(moves, e.key) || !(max > min)) return null;
  return Math.min(max, Math.max(min, value + moves[e.key]));
}

// Said as a whole number on a wide range (a width, an alpha level), to two places on a narrow one.
function describeValue(slider) {
  const value = Number(slider.value);
  const wide = Number(slider.max) - Number(slider.min) >= 10;
  slider.ariaValueText = wide ? String(Math.round(value)) : value.toFixed(2);
}

// An input shows no children: a field with views of its own (a unit at its right end) is a
// box holding the input, which leaves room for those views, and them.
function withOwnViews(field, subviews) {
  if (!Array.isArray(subviews) || !subviews.length) return field;
  const box = element('div', 'field-box');
  const lefts = subviews.map((view) => (Array.isArray(view.frame) ? Number(view.frame[0]) : NaN)).filter(Number.isFinite);
  if (lefts.length) field.style.right = `calc(100% - ${Math.min(...lefts)}px)`;
  box.append(field);
  return box;
}
