// The slider, self-drawn view or row handle under a pressed pointer. While one is held, new
// screens patch the page in place, because replacing the element would end the drag.
export function createGrip() {
  let held = null;
  return {
    get held() { return held; },
    hold(view) { held = view; },
    // Whether something was held.
    letGo() {
      const was = held;
      held = null;
      return Boolean(was);
    },
  };
}
