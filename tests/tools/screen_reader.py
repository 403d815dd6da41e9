# Reads the player's main window through AT-SPI while a file plays and checks what a screen
# reader would say: the time as it moves, the title, the buttons as named push buttons, the
# sliders' values, and that pressing "Pause" through the bus pauses.
import sys, time
import pyatspi


def player():
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == 'Sonorell Player':
                return app
        time.sleep(0.1)
    sys.exit('the player never appeared on the accessibility bus')


def shown(app):
    found = []

    def walk(node):
        if not node.getState().contains(pyatspi.STATE_SHOWING):
            return
        found.append(node)
        for child in node:
            walk(child)

    walk(app)
    return found


def named(nodes, role, name):
    for node in nodes:
        if node.getRoleName() == role and node.name == name:
            return node
    return None


def check(condition, what):
    if not condition:
        sys.exit('screen reader: ' + what)


app = player()
time.sleep(3)
nodes = shown(app)
labels = [n.name for n in nodes if n.getRoleName() == 'label']
check('tone.wav' in labels, 'the title line reads %r' % labels)
check('Options' in labels and 'Help' in labels, 'the captions read %r' % labels)
times = [t for t in labels if len(t) == 5 and t[2] == ':']
check(times and times[0] != '00:00', 'the time reads %r while playing' % times)
for button in ('Previous', 'Play', 'Pause', 'Next', 'Add Directory', 'Add File', 'Open List', 'Save List',
               'Track List', 'Minimize', 'Close'):
    node = named(nodes, 'push button', button)
    check(node is not None, 'no push button named %r' % button)
    action = node.queryAction()
    check(action.nActions >= 1 and action.getName(0) == 'Press', '%r cannot be pressed' % button)
pictures = [n for n in nodes if n.getRoleName() == 'image' or (n.getRoleName() == 'label' and not n.name and n.parent.getRoleName() != 'list')]
check(len(pictures) <= 1, 'the reader meets %d nameless pictures and labels' % len(pictures))
volume = named(nodes, 'slider', 'Volume').queryValue()
check(volume.maximumValue == 10 and 1 <= volume.currentValue <= 10, 'the volume reads %s' % volume.currentValue)
position = named(nodes, 'slider', 'Position').queryValue()
check(position.maximumValue == 13 and position.currentValue >= 1, 'the position reads %s of %s' % (position.currentValue, position.maximumValue))

named(nodes, 'push button', 'Pause').queryAction().doAction(0)
time.sleep(2.2)
first = [n.name for n in shown(app) if n.getRoleName() == 'label' and len(n.name) == 5 and n.name[2] == ':']
time.sleep(2.2)
second = [n.name for n in shown(app) if n.getRoleName() == 'label' and len(n.name) == 5 and n.name[2] == ':']
check(first == second, 'the time moved after Pause was pressed: %r then %r' % (first, second))
print('screen reader: ok')
