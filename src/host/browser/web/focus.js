// Where the keyboard's focus goes once the next screen is drawn, by view id: set by a key
// that moves what it acts on (a row's handle), and by an alert for the element that had the
// focus before it opened; the screen takes them when it draws.
export function createFocusTargets() {
  let next = null;
  let beforeAlert = null;
  return {
    afterNextScreen(id) { next = id; },
    // An alert that follows another keeps the place the first one was opened from.
    keepForAlert(id) { beforeAlert = id ?? beforeAlert; },
    take() {
      const target = next ?? beforeAlert;
      next = null;
      beforeAlert = null;
      return target;
    },
  };
}
