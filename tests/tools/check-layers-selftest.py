# The layer check fails on each kind of fault it names, and passes a tree that has none.
import pathlib, subprocess, sys, tempfile

check = pathlib.Path(__file__).with_name('check-layers.py')
good_cmake = ('target_link_libraries(sonorell_platform PRIVATE PkgConfig::GST Qt6::DBus)\n'
              'target_link_libraries(sonorell_player PUBLIC sonorell_media Qt6::Widgets)\n')
cases = {
    'clean': ({'player/a.cpp': '#include "media/b.h"\n#include <QWidget>\n', 'platform/p.cpp': '#include <gst/gst.h>\n'},
              good_cmake, 0),
    'no sources': ({}, good_cmake, 1),
    'include up': ({'media/a.cpp': '#include "player/Form1.h"\n'}, good_cmake, 1),
    'include up, angle': ({'media/a.cpp': '#include <shell/Form5.h>\n'}, good_cmake, 1),
    'include beside': ({'meter/a.cpp': '#include "about/Form3.h"\n'}, good_cmake, 1),
    'system header': ({'player/a.cpp': '#include <gst/gst.h>\n'}, good_cmake, 1),
    'network header': ({'catalogue/a.cpp': '#include <QNetworkReply>\n'}, good_cmake, 1),
    'system link': ({'player/a.cpp': ''}, good_cmake + 'target_link_libraries(sonorell_player PRIVATE PkgConfig::CDIO)\n', 1),
    'link up': ({'media/a.cpp': ''}, good_cmake + 'target_link_libraries(sonorell_media PUBLIC sonorell_shell)\n', 1),
}
failed = []
for name, (files, cmake, expected) in cases.items():
    with tempfile.TemporaryDirectory() as tmp:
        root = pathlib.Path(tmp)
        for rel, text in files.items():
            (root / rel).parent.mkdir(parents=True, exist_ok=True)
            (root / rel).write_text(text)
        (root / 'CMakeLists.txt').write_text(cmake)
        rc = subprocess.run([sys.executable, check, root], capture_output=True).returncode
        if rc != expected:
            failed.append(f'{name}: exit {rc}, expected {expected}')
print('\n'.join(failed) if failed else f'check-layers: {len(cases)} cases as expected')
sys.exit(1 if failed else 0)
