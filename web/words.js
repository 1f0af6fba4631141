// Every word the page shows or says, in English; Slovenian and German come from lang/sl.json and
// lang/de.json, fetched only for a browser that asks for them. The language is chosen in
// index.html, before the page is painted, and set on <html lang>. A catalogue holds the same keys
// as this one; "{name}" in a text is a value the page fills in, or another entry of the catalogue.
export const english = {
  title: 'New-Year Card',
  description: 'A New-Year greeting card painted from your name',
  // The name prompt's two lines: null is the core's own words, which the window shows in English.
  prompt1: null,
  prompt2: null,
  make: 'make the card',
  repeat: 'repeat',
  save: 'save',
  share: 'share',
  copy: 'copy link',
  copied: 'link copied',
  whenFinished: 'when finished…',
  close: 'close',
  enlarge: 'enlarge the card',
  enlargeCard: 'enlarge the card: {greeting}',
  enlarged: 'the card enlarged',
  emptyHeading: 'Your card is painted here',
  emptyText: 'from your name: type it and press “{make}”.',
  ready: 'The card for {name} is ready.',
  readyNoName: 'The card with no name is ready.',
  linkCopied: 'The card’s link is copied.',
  failed: 'The card could not be made: {reason}',
  workerStopped: 'the page’s worker stopped',
  notShared: 'The card could not be shared: {reason}',
  pasteCut: 'The pasted text has {length} characters and only {room} fitted: the field takes ' +
            '{max}, so the rest was left out.',
  update: 'A new version of this page is ready.',
  updateSaid: 'A new version of this page is ready: reload to use it.',
  reload: 'reload',
  // The video of the card's growth.
  saveVideo: 'save video',
  shareVideo: 'share video',
  filmMaking: 'Making the video of the card…',
  filmSaved: 'Video saved: {file}',
  filmFailed: 'The video could not be made: {reason}',
  filmNotShared: 'The video could not be shared: {reason}',
  filmShareAgain: 'The video is ready: press “{shareVideo}” again to share it.',
  // A refused name in plain words (plain_words.js), and the name offered instead.
  capital: 'Capital letters can’t be used.',
  tab: 'Tabs can’t be used: only plain spaces between words.',
  lineBreak: 'Line breaks can’t be used: the name is one line.',
  space: 'Only plain spaces can be used between words.',
  invisible: 'The name holds an invisible character (character {position}), which can’t be used.',
  digit: 'Digits can’t be used: write numbers in words.',
  marks: 'Letters with marks, like “{character}”, can’t be used.',
  notLetter: '“{character}” can’t be used: only the letters a to z can.',
  notInName: '“{character}” can’t be used in a name.',
  rule: 'Use small letters a to z and spaces.',
  tooLong: 'A name can have at most {max} characters; this one has {length}.',
  fix: 'make the card for “{name}”',
};

let words = english;

// Fetches the catalogue of `language` ("en", "sl" or "de"). Without it (offline before the page was
// ever kept) the page speaks English rather than not at all; returns the language it speaks.
export async function loadWords(language) {
  if (language === 'en') return language;
  try {
    const response = await fetch(new URL(`lang/${language}.json`, import.meta.url));
    if (!response.ok) throw new Error(response.statusText);
    words = {...english, ...await response.json()};
    return language;
  } catch {
    return 'en';
  }
}

// The text of `key` with its "{name}"s filled from `values`, or from the catalogue's own entries.
export function say(key, values = {}) {
  return words[key].replace(/\{(\w+)\}/g, (whole, name) => String(values[name] ?? words[name]));
}

// The entry itself; null where the catalogue leaves it to the core.
export function entry(key) {
  return words[key];
}
