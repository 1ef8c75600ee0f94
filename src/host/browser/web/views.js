// The page's views: each node drawn by the render function of its kind, framed and given its
// look (colours, font, corners, shadow). The kinds come from the modules that draw them
// (controls, tables), handed in or added by main.js.
import { color, element, renderImage, rgba, safeImage } from './dom.js';
import { neighbourNamer } from './names.js';

// `kinds`: render functions by kind name; `renderSelfDrawn`: for any other view that carries
// a picture, which draws itself.
export function createViews({ kinds, renderSelfDrawn }) {
  // A node names its kind in `kind` when its class is a subclass, else in `type`.
  const KINDS = {
    UIView: () => element('div'),
    UIControl: () => element('div'),
    UIImageView: (node) => renderImage(node, 'imageview'),
    ...kinds,
  };
  const kindOf = (node) => (Object.hasOwn(KINDS, node.kind) ? node.kind : node.type);
  const nameFromNeighbours = neighbourNamer(KINDS, kindOf);

  function renderView(node) {
    const kind = kindOf(node);
    const draw = Object.hasOwn(KINDS, kind) ? KINDS[kind] : safeImage(node.image) ? renderSelfDrawn : KINDS.UIView;
    const view = draw(node);
    view.classList.add('view');
    view.dataset.type = node.type || 'UIView';
    if (node.id !== undefined) {
      view.dataset.id = node.id;
      view.dataset.key = `${node.type}:${node.id}`;
    }
    applyFrame(view, node.frame);
    applyLook(view, node);
    appendSubviews(view, node.subviews);
    return view;
  }

  function appendSubviews(view, subviews) {
    nameFromNeighbours(subviews || []);
    for (const child of subviews || []) view.append(renderView(child));
  }

  // A kind drawn by a module that draws views itself (a table's header, rows and cells).
  function addKind(name, render) { KINDS[name] = render; }

  return { renderView, appendSubviews, kindOf, addKind };
}

function applyFrame(view, frame) {
  if (!Array.isArray(frame) || frame.length !== 4) return;
  const [x, y, w, h] = frame.map(Number);
  Object.assign(view.style, { left: x + 'px', top: y + 'px', width: w + 'px', height: h + 'px' });
}

function applyLook(view, node) {
  const style = view.style;
  if (color(node.backgroundColor)) style.backgroundColor = node.backgroundColor;
  if (color(node.textColor)) style.color = node.textColor;
  if (node.font) {
    style.fontSize = (Number(node.font.size) || 17) + 'px';
    style.fontWeight = node.font.bold ? '600' : '400';
  }
  if (node.alignment) style.justifyContent = { center: 'center', right: 'flex-end' }[node.alignment] || 'flex-start';
  if (node.alignment) style.textAlign = node.alignment;
  if (node.cornerRadius) style.borderRadius = node.cornerRadius + 'px';
  if (node.borderWidth) style.border = `${node.borderWidth}px solid ${color(node.borderColor) || '#000'}`;
  if (node.shadow && color(node.shadow.color)) {
    const [dx, dy] = node.shadow.offset || [0, -3];
    style.boxShadow = `${dx}px ${dy}px ${node.shadow.radius ?? 3}px ${rgba(node.shadow.color, node.shadow.opacity ?? 1)}`;
  }
  if (node.hidden) style.visibility = 'hidden';
  if (node.userInteraction === false) style.pointerEvents = 'none';
  if (node.alpha !== undefined && node.alpha !== null) style.opacity = String(node.alpha);
  if (node.clipsToBounds) style.overflow = 'hidden';
}
