// Settings files for the browser scripts and benchmarks: a message filter list of any length.
import { mkdirSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const escape = (text) => text.replace(/&/g, '&amp;').replace(/</g, '&lt;');

function filterRecord(index) {
  const strings = { alertSound: index % 3 ? 'HBSilent' : 'alert:chord', cc: '', filterName: `Filter ${index}`,
    from: `sender${index}@example\\.com`, hexColor: index % 2 ? '#1E88E5' : '#E53935', subject: '', to: '' };
  const lines = Object.entries(strings).map(([key, value]) => `<key>${key}</key><string>${escape(value)}</string>`);
  for (const key of ['ccMatchType', 'fromMatchType', 'subjectMatchType', 'toMatchType']) lines.push(`<key>${key}</key><integer>0</integer>`);
  return `<dict>${lines.join('')}</dict>`;
}

// Writes the settings of DEVICE_ROOT with COUNT enabled message filters named "Filter 0" on.
export function writeFilterSettings(deviceRoot, count) {
  const folder = join(deviceRoot, 'var/mobile/Library/Preferences');
  mkdirSync(folder, { recursive: true });
  const records = Array.from({ length: count }, (_, index) => filterRecord(index)).join('\n');
  writeFileSync(join(folder, 'net.quorvel.huebadge.plist'), `<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
<key>enabled</key><true/>
<key>filtersEnabled</key><array>
${records}
</array>
<key>filtersDisabled</key><array/>
</dict>
</plist>
`);
  return join(folder, 'net.quorvel.huebadge.plist');
}

// usage: node settings.mjs DEVICE_ROOT COUNT
if (import.meta.url === `file://${process.argv[1]}`) {
  const [deviceRoot, count] = process.argv.slice(2);
  if (!deviceRoot || !(Number(count) >= 0)) {
    console.error('usage: node settings.mjs DEVICE_ROOT COUNT');
    process.exit(2);
  }
  writeFilterSettings(deviceRoot, Number(count));
}
