// Start's buttons and the game each opens, as the families register them
// (games/<family>/family.cpp: its startButton and the first of its forms).
import fs from 'node:fs';

const games = new URL('../../games/', import.meta.url);
export const startButtons = fs.readdirSync(games, {withFileTypes: true})
  .filter((d) => d.isDirectory() && fs.existsSync(new URL(`${d.name}/family.cpp`, games)))
  .map((d) => fs.readFileSync(new URL(`${d.name}/family.cpp`, games), 'utf8')
    .match(/startButton\s*=\s*"(\w+)",\s*\.forms\s*=\s*\{\s*\w+\(forms::(\w+)\(/))
  .filter(Boolean)
  .map((m) => ({button: m[1], game: m[2]}));
if (startButtons.length < 7) throw new Error('games/*/family.cpp register fewer Start buttons than the program has');
