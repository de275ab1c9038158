#pragma once

#include <QAccessibleWidget>

class zr6200fp_led;

// A lamp as a screen reader meets it: a read-only check box, checked while
// the lamp is lit (the accessibility bus knows no lamp), named by its own
// caption, or else by the label beside it.
class zr6200fp_ledAccessible final : public QAccessibleWidget
{
public:
    explicit zr6200fp_ledAccessible(zr6200fp_led *led);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    // Makes QAccessible build this interface for every lamp; installed
    // before the bus first asks for one.
    static void install();
    // Tells the bus that the lamp went on or off.
    static void announce(zr6200fp_led *led);

private:
    const zr6200fp_led *led() const;
};
