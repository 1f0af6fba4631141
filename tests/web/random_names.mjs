// Names as people type them, drawn from a seed so that a failing one can be made again: one to four
// words of small letters, now and then the empty name, spaces where nobody puts them, or a long
// name up to the limit of 100 characters.
export function randomNames(count, seed) {
  let state = seed >>> 0;
  const random = () => {  // mulberry32
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  const below = (n) => Math.floor(random() * n);
  const word = (letters) =>
    Array.from({length: letters}, () => String.fromCharCode(97 + below(26))).join('');
  const names = [];
  for (let k = 0; k < count; k++) {
    const kind = random();
    let name;
    if (kind < 0.03) {
      name = '';
    } else if (kind < 0.1) {
      name = Array.from({length: 1 + below(100)}, () => (random() < 0.15 ? ' ' : word(1))).join('');
    } else {
      name = Array.from({length: 1 + below(4)}, () => word(2 + below(10))).join(' ');
    }
    names.push(name);
  }
  return names;
}
