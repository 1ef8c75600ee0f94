// Plays what the pane plays. A screen lists the last play of each sound the pane holds; a
// play new to the page starts an <audio> element, and one that has left the list (its sound
// was disposed of, or played again) stops.
const playing = new Map();
// Plays that were already listed when the page opened are history, not news.
let newest = null;

function isSound(sound) {
  return sound && Number.isSafeInteger(sound.play) && typeof sound.url === 'string' &&
    sound.url.startsWith('/api/sound/');
}

function stop(audio) {
  audio.pause();
  audio.removeAttribute('src');
  audio.load();
}

export function playSounds(list) {
  const sounds = Array.isArray(list) ? list.filter(isSound) : [];
  const listed = new Set(sounds.map((sound) => sound.play));
  for (const [serial, audio] of playing) {
    if (!listed.has(serial)) {
      stop(audio);
      playing.delete(serial);
    }
  }
  for (const sound of sounds) {
    if (newest === null || sound.play <= newest || playing.has(sound.play)) continue;
    const audio = new Audio(sound.url);
    playing.set(sound.play, audio);
    audio.addEventListener('ended', () => playing.delete(sound.play));
    // A browser may refuse to play before the user's first click on the page.
    audio.play().catch(() => playing.delete(sound.play));
  }
  newest = Math.max(newest ?? 0, ...sounds.map((sound) => sound.play));
}
