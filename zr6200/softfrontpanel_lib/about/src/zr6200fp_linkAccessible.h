#pragma once

#include <QAccessibleWidget>

class clickableLabel;

// A clickable label as a screen reader meets it: a link named by its text,
// which the bus can follow.
class zr6200fp_linkAccessible final : public QAccessibleWidget
{
public:
    explicit zr6200fp_linkAccessible(clickableLabel *label);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

    // Makes QAccessible build this interface for every clickable label;
    // installed before the bus first asks for one.
    static void install();
};
