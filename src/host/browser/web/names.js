// Names for the controls a pane leaves unnamed, taken from the views around them.

// `kinds` holds the render function of each kind the page draws (a view of another kind that
// carries a picture draws itself); `kindOf` names a node's kind.
export function neighbourNamer(kinds, kindOf) {
  // A pane names few of its controls: an untitled button lies over the label or field it edits
  // (a number, "Hue: 33°"), a slider or switch sits beside its caption ("Red", "Width"), a
  // touch surface over a picture that draws itself. Each gets, in `accessibleName`, what a
  // screen reader should say: the caption and the texts under it, or the picture's kind.
  function nameFromNeighbours(views) {
    const framed = views.filter((view) => Array.isArray(view.frame) && view.frame.length === 4);
    const faces = new Set();
    for (const view of framed) {
      if (!isUntitledButton(view)) continue;
      for (const under of framed) if (under !== view && textOf(under) && covers(view.frame, under.frame)) faces.add(under);
    }
    for (const view of framed) {
      if (!isUntitledButton(view) && !['UISlider', 'UISwitch', 'UITextField'].includes(kindOf(view))) continue;
      const under = isUntitledButton(view) ? framed.filter((other) => faces.has(other) && covers(view.frame, other.frame)) : [];
      const caption = captionOf(view, framed.filter((other) => kindOf(other) === 'UILabel' && !faces.has(other)));
      const picture = framed.find((other) => other.image && !kinds[kindOf(other)] && covers(view.frame, other.frame));
      const words = [caption?.text, ...under.map(textOf)].filter(Boolean);
      if (!words.length && picture) words.push(pictureName(picture.type));
      if (words.length) view.accessibleName = words.join(' ');
    }
  }

  const isUntitledButton = (node) => kindOf(node) === 'UIButton' && !(node.title ?? node.text);

  // A label's text, or a field's with the unit it shows at its end.
  function textOf(node) {
    if (kindOf(node) === 'UILabel') return node.text || '';
    if (kindOf(node) !== 'UITextField') return '';
    return [node.text, ...(node.subviews || []).map((unit) => unit.text)].filter(Boolean).join(' ');
  }

  return nameFromNeighbours;
}

// Whether at least half of `inner` lies inside `outer`.
function covers(outer, inner) {
  const [ox, oy, ow, oh] = outer.map(Number);
  const [ix, iy, iw, ih] = inner.map(Number);
  const width = Math.min(ox + ow, ix + iw) - Math.max(ox, ix);
  const height = Math.min(oy + oh, iy + ih) - Math.max(oy, iy);
  return width > 0 && height > 0 && width * height >= (iw * ih) / 2;
}

// The nearest label beside the control on its line, or just above it.
function captionOf(view, labels) {
  const [x, y, w, h] = view.frame.map(Number);
  let best = null;
  let bestGap = Infinity;
  for (const label of labels) {
    const [lx, ly, lw, lh] = label.frame.map(Number);
    const sameLine = ly < y + h && ly + lh > y;
    const above = ly + lh <= y + 4 && ly + lh >= y - 30 && lx < x + w && lx + lw > x;
    if (!label.text || covers(view.frame, label.frame) || !(sameLine || above)) continue;
    const gap = sameLine ? Math.max(0, lx - (x + w), x - (lx + lw)) : y - (ly + lh);
    if (gap < bestGap) [best, bestGap] = [label, gap];
  }
  return best;
}

// "HBBrightnessSaturationView" says "Brightness Saturation".
function pictureName(type) {
  return String(type || '').replace(/^HB/, '').replace(/View$/, '').replace(/([a-z])([A-Z])/g, '$1 $2');
}

