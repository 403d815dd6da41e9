#pragma once
// The main window as assistive technology reads it (Qt's accessibility interfaces, bridged to
// AT-SPI): skin pictures that are buttons are push buttons named by their tooltips and pressed
// through the "press" action; the volume bar and the position slider are sliders with values.

#include <QWidget>

#include <functional>

namespace player {

// An invisible stand-in over a skinned control that shows a value, for screen readers only:
// the mouse goes through it to the control below.
class ValueBar : public QWidget {
    Q_OBJECT
public:
    struct Source {
        std::function<int()> value;
        std::function<int()> maximum;
        std::function<void(int)> set;
    };
    ValueBar(const char* name, QWidget* parent, Source source);

    int Value() const { return source_.value(); }
    int Maximum() const { return source_.maximum(); }
    void SetValue(int value) { source_.set(value); }
    // Tells a screen reader that the value changed, when it did since the last call.
    void NotifyIfChanged();

private:
    Source source_;
    int told_ = -1;
};

// Set (true) on a widget a stand-in speaks for, before its interface is first asked for.
inline constexpr const char* CoveredForReaders = "coveredForReaders";

// Once a run, before the first interface is asked for.
void InstallAccessibility();

}  // namespace player
