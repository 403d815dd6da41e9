# The layers of src/: app > shell > player > catalogue, metadata, meter, about, associations >
# media > common > platform. Fails when
#  - a file includes (with "" or <>) a folder above its own, or one beside it;
#  - a file outside platform includes a system library's header (sound, disc, tags, network, bus);
#  - a library other than sonorell_platform links one of those libraries in src/CMakeLists.txt,
#    or links a library of a higher layer;
#  - the folder holds no sources at all (a wrong path must not pass).
import pathlib, re, sys

level = {'app': 6, 'shell': 5, 'player': 4, 'encoder': 4, 'catalogue': 3, 'metadata': 3, 'meter': 3, 'about': 3,
         'associations': 3, 'media': 2, 'common': 1, 'platform': 0}
# Headers and link names only the platform layer may use.
system_headers = re.compile(r'(gst|cdio|taglib|discid|pulse|alsa|dbus|sys|linux|unistd\.h|fcntl\.h|signal\.h|'
                            r'QtNetwork|QtDBus|QNetwork|QSsl|QDBus|QLocalS)')
system_links = re.compile(r'(PkgConfig::\w+|Qt6::(Network|DBus))')


def check_includes(src):
    faults, sources = [], 0
    for path in sorted(src.rglob('*')):
        if path.suffix not in ('.h', '.cpp', '.inl'):
            continue
        sources += 1
        own = path.relative_to(src).parts[0]
        if own not in level:
            faults.append(f'{path.relative_to(src)}: folder {own} has no layer')
            continue
        for number, line in enumerate(path.read_text(encoding='utf-8').splitlines(), 1):
            m = re.match(r'\s*#\s*include\s+["<]([^">]+)[">]', line)
            if not m:
                continue
            name, where = m.group(1), f'{path.relative_to(src)}:{number}'
            other = name.split('/')[0] if '/' in name else None
            if other in level and other != own:
                if level[other] >= level[own]:
                    faults.append(f'{where}: {own} includes {other}')
            elif own != 'platform' and system_headers.match(name):
                faults.append(f'{where}: {own} includes the system header {name}')
    return faults, sources


def check_links(cmake):
    faults = []
    text = cmake.read_text(encoding='utf-8')
    for m in re.finditer(r'target_link_libraries\(\s*(\w+)([^)]*)\)', text):
        target, linked = m.group(1), m.group(2).split()
        own = target.removeprefix('sonorell_') if target.startswith('sonorell_') else 'app'
        for lib in linked:
            if system_links.fullmatch(lib) and own != 'platform':
                faults.append(f'{cmake.name}: {target} links {lib}')
            if lib.startswith('sonorell_'):
                other = lib.removeprefix('sonorell_')
                if other in level and own in level and level[other] >= level[own]:
                    faults.append(f'{cmake.name}: {target} links {lib}')
    return faults


def main():
    src = pathlib.Path(sys.argv[1])
    faults, sources = check_includes(src)
    if sources == 0:
        print(f'layers: no sources under {src}')
        return 1
    cmake = src / 'CMakeLists.txt'
    if not cmake.is_file():
        faults.append(f'{cmake}: missing')
    else:
        faults += check_links(cmake)
    print('\n'.join(faults) if faults else f'layers: {sources} files, every include and link points down')
    return 1 if faults else 0


sys.exit(main())
