// A refused name in plain words, with the name the visitor most likely meant when there is one.
// The core says which character it refused and where (its own message is the renderer's, for
// programs); this says it as a person would, in the page's language, and offers the fix in one tap.
import {say} from './words.js';

export const kMaxLength = 100;

// Letters that are no small letter a to z with marks taken off.
const kSpelledOut = {ß: 'ss', æ: 'ae', œ: 'oe', ø: 'o', đ: 'd', ð: 'd', ł: 'l', þ: 'th', ı: 'i'};
// At most this many characters left out of a suggestion: more, and it is no longer the name.
const kMostLeftOut = 2;

const isWordSeparator = (c) => /[\p{Pd}_.,/·]/u.test(c);

// What a character becomes in a name the card accepts: a capital or a letter with marks its small
// plain letter, any space or word separator a space, and anything else nothing (null).
function counterpart(c) {
  if (/^[a-z ]$/.test(c)) return c;
  if (/\s/u.test(c) || isWordSeparator(c)) return ' ';
  if (!/\p{L}/u.test(c)) return null;
  const small = c.toLowerCase();
  const plain = small.normalize('NFD').replace(/\p{M}/gu, '');
  if (/^[a-z]+$/.test(plain)) return plain;
  return kSpelledOut[small] ?? null;
}

// The accepted name closest to `name`, or null when there is none worth offering.
export function suggestion(name) {
  let leftOut = 0;
  const parts = [...name].map((c) => {
    const part = counterpart(c);
    if (part === null) leftOut++;
    return part ?? '';
  });
  const suggested = parts.join('').replace(/ {2,}/g, ' ').trim();
  const ok = leftOut <= kMostLeftOut && /[a-z]/.test(suggested) && suggested !== name &&
             [...suggested].length <= kMaxLength;
  return ok ? suggested : null;
}

// What is wrong with the refused character, said to a person.
function problem(c, position) {
  if (c.toLowerCase() !== c && counterpart(c)) return say('capital');
  if (c === '\t') return say('tab');
  if (c === '\n' || c === '\r') return say('lineBreak');
  if (/\s/u.test(c)) return say('space');
  if (/[\p{Cc}\p{Cf}]/u.test(c)) return say('invisible', {position});
  if (/\p{Nd}/u.test(c)) return say('digit');
  if (/\p{L}/u.test(c) && counterpart(c)) return say('marks', {character: c});
  if (/\p{L}/u.test(c)) return say('notLetter', {character: c});
  return say('notInName', {character: c});
}

// The refusal the core gave for `name` ({length, position, character}; position 0: too long) as
// {message, fix}: fix is the name to offer instead, or null.
export function plainRefusal({length, position, character}, name) {
  if (position === 0) {
    return {message: say('tooLong', {max: kMaxLength, length}), fix: null};
  }
  const fix = suggestion(name);
  const message = problem(String.fromCodePoint(character), position);
  return {message: fix ? message : `${message} ${say('rule')}`, fix};
}
