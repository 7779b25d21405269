// pinyin-pro's reading of each line of standard input, one line out a line in: the syllables
// with tone marks that pinyin(line, {type: 'array'}) gives, joined by blanks. pinyin_bench
// --score scores them against the sample's reference.
//
//     node bench/pinyin_pro_readings.mjs [--citation-tones] PINYIN_PRO_PACKAGE < lines
//
// PINYIN_PRO_PACKAGE is the folder tools/pinyin/fetch-pinyin-pro prints. By default pinyin-pro
// changes the tone of 一 and 不 before another syllable, as speech does (一片 yí piàn);
// --citation-tones turns that off (toneSandhi: false), the convention the sample follows.
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

const args = process.argv.slice(2);
const citationTones = args[0] === '--citation-tones';
const packageFolder = args[citationTones ? 1 : 0];
if (!packageFolder) {
  process.stderr.write('usage: node pinyin_pro_readings.mjs [--citation-tones] PINYIN_PRO_PACKAGE < lines\n');
  process.exit(2);
}
const { pinyin } = await import(pathToFileURL(join(packageFolder, 'dist/esm/index.mjs')).href);
const options = citationTones ? { type: 'array', toneSandhi: false } : { type: 'array' };

const lines = readFileSync(0, 'utf8').split('\n');
if (lines.at(-1) === '') lines.pop();
for (const line of lines) process.stdout.write(pinyin(line, options).join(' ') + '\n');
