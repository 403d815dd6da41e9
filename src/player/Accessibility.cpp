#include "player/Accessibility.h"
#include "player/PictureButton.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

namespace player {

namespace {

class ButtonAccessible : public QAccessibleWidget {
public:
    explicit ButtonAccessible(PictureButton* button) : QAccessibleWidget(button, QAccessible::Button) { }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name) return button()->ButtonName();
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction() && button()->isEnabled()) button()->Activate();
    }
    QStringList keyBindingsForAction(const QString& action) const override
    {
        return action == pressAction() ? QStringList{QStringLiteral("Space")} : QStringList{};
    }

private:
    PictureButton* button() const { return static_cast<PictureButton*>(object()); }
};

class SliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SliderAccessible(ValueBar* bar) : QAccessibleWidget(bar, QAccessible::Slider) { }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value) return QString::number(bar()->Value());
        return QAccessibleWidget::text(kind);
    }
    QVariant currentValue() const override { return bar()->Value(); }
    void setCurrentValue(const QVariant& value) override { bar()->SetValue(value.toInt()); }
    QVariant maximumValue() const override { return bar()->Maximum(); }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    ValueBar* bar() const { return static_cast<ValueBar*>(object()); }
};

// A picture a stand-in speaks for (the volume segments, the groove, the thumb, the title strip):
// kept out of what a screen reader lists.
class CoveredAccessible : public QAccessibleWidget {
public:
    explicit CoveredAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::NoRole) { }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.invisible = true;
        return s;
    }
};

QAccessibleInterface* interfaceFor(const QString&, QObject* object)
{
    if (object->property(CoveredForReaders).toBool()) return new CoveredAccessible(static_cast<QWidget*>(object));
    if (auto* button = qobject_cast<PictureButton*>(object); button && button->IsButton()) return new ButtonAccessible(button);
    if (auto* bar = qobject_cast<ValueBar*>(object)) return new SliderAccessible(bar);
    return nullptr;
}

}  // namespace

ValueBar::ValueBar(const char* name, QWidget* parent, Source source) : QWidget(parent), source_(std::move(source))
{
    setObjectName(QString::fromLatin1(name));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void InstallAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(interfaceFor);
        return true;
    }();
    (void)installed;
}

void ValueBar::NotifyIfChanged()
{
    const int value = Value();  // the window's snapshot: cheap
    if (value == told_) return;
    told_ = value;
    QAccessibleValueChangeEvent event(this, value);
    QAccessible::updateAccessibility(&event);
}

}  // namespace player
