# No file includes a folder above its own: app > shell > player > catalogue, metadata, meter,
# about, associations > media > common > platform. Folders on one level do not include each
# other, except where named below.
import pathlib, re, sys

level = {'app': 6, 'shell': 5, 'player': 4, 'catalogue': 3, 'metadata': 3, 'meter': 3, 'about': 3,
         'associations': 3, 'media': 2, 'common': 1, 'platform': 0}
sideways = {('catalogue', 'metadata')}  # the title editor shows list lines' titles
src = pathlib.Path(sys.argv[1])
faults = []
for path in sorted(src.rglob('*')):
    if path.suffix not in ('.h', '.cpp', '.inl'):
        continue
    own = path.relative_to(src).parts[0]
    for number, line in enumerate(path.read_text(encoding='utf-8').splitlines(), 1):
        m = re.match(r'\s*#include\s+"([a-z]+)/', line)
        if not m or m.group(1) == own or m.group(1) not in level:
            continue
        other = m.group(1)
        if level[other] > level[own] or (level[other] == level[own] and (own, other) not in sideways):
            faults.append(f'{path.relative_to(src)}:{number}: {own} includes {other}')
print('\n'.join(faults) if faults else 'layers: every include points down')
sys.exit(1 if faults else 0)
