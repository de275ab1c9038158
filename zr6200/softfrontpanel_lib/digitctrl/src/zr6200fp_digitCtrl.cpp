#include "digitctrl/zr6200fp_digitCtrl.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpressionValidator>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "zr6200fp_newDoubleValidator.h"
#include "zr6200fp_newPushButton.h"
#include "zr6200fp_newlineEdit.h"

namespace {

QMessageBox::StandardButton ask(const QString &text)
{
    return QMessageBox::information(QApplication::activeWindow(), QString(), text, QMessageBox::Yes, QMessageBox::No);
}

// A step past one end of the range: a wrapping control comes in at the other.
template <typename T> T wrapped(bool wrapping, T candidate, T minimum, T maximum)
{
    if (wrapping) {
        if (candidate > maximum)
            return minimum;
        if (candidate < minimum)
            return maximum;
    }
    return candidate;
}

} // namespace

zr6200fp_digitCtrl::zr6200fp_digitCtrl(double min, double max, double step, const char *format, QWidget *parent)
    : QAbstractSpinBox(parent)
    , metrics(font())
{
    setup();
    setFormat(format);
    setRange(min, max, step);
    setButtonSymbols(UpDownArrows);
    setReadOnly(false);
}

zr6200fp_digitCtrl::zr6200fp_digitCtrl(QWidget *parent)
    : zr6200fp_digitCtrl(-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(), 1.0,
                         "%3.3f", parent)
{
}

zr6200fp_digitCtrl::zr6200fp_digitCtrl(qint64 min, qint64 max, qint64 step, bool isSigned, int bits, const char *format,
                                       QWidget *parent)
    : QAbstractSpinBox(parent)
    , metrics(font())
    , isInteger(1)
    , isSigned(isSigned)
    , kindMask(isSigned ? Format::SignedInteger : Format::UnsignedInteger)
{
    setup();
    setFormat(format);
    setRange(intXXL(min), intXXL(max), intXXL(step), bits);
    setButtonSymbols(UpDownArrows);
    setReadOnly(false);
}

zr6200fp_digitCtrl::~zr6200fp_digitCtrl() = default;

void zr6200fp_digitCtrl::setup()
{
    setWrapping(false);
    if (isInteger) {
        validator = new QRegularExpressionValidator(this);
    } else {
        const double infinity = std::numeric_limits<double>::infinity();
        validator = new zr6200fp_newDoubleValidator(-infinity, infinity, 3, this);
        validator->setLocale(Format::numberLocale());
    }

    editor = new zr6200fp_newlineEdit(this);
    editor->setFrame(false);
    editor->setFocusPolicy(Qt::StrongFocus);
    editor->setValidator(validator);
    editor->setCursorPosition(3);
    setLineEdit(editor);
    // The field is an object of its own on the accessibility bus, inside
    // the control that the caption names.
    editor->setAccessibleName(tr("Value"));

    baseMenu = new QMenu(this);
    baseGroup = new QActionGroup(baseMenu);
    baseGroup->setExclusive(true);
    actions.fill(nullptr);
    size_t slot = 0;
    for (int row = 0; row < Format::kBaseCount; ++row) {
        if (!baseAllowed(row))
            continue;
        auto *action = new QAction(tr(Format::baseTable[size_t(row)].menuText), this);
        action->setCheckable(true);
        action->setData(row);
        baseGroup->addAction(action);
        baseMenu->addAction(action);
        actions[slot++] = action;
    }
    currentBase = baseOf(actions[0]);

    auto *button = new zr6200fp_newPushButton(editor);
    button->raise();
    button->menu = baseMenu;
    button->setAccessibleDescription(tr("Steps to the next number format; the menu key in the field lists them all."));
    editor->baseButton = button;
    if (isInteger) {
        // Until the first resize places the button.
        QMargins margins = editor->textMargins();
        margins.setLeft(margins.left() + button->width());
        editor->setTextMargins(margins);
    } else {
        button->hide();
    }

    connect(editor, &QLineEdit::returnPressed, this, &zr6200fp_digitCtrl::newText);
    connect(editor, &QLineEdit::returnPressed, this, &zr6200fp_digitCtrl::retPressed_slot);
    connect(button, &QPushButton::clicked, this, &zr6200fp_digitCtrl::setBase_slot);
    connect(baseMenu, &QMenu::triggered, this, &zr6200fp_digitCtrl::menuClicked_slot);
}

bool zr6200fp_digitCtrl::checkKind(bool integer)
{
    if (bool(isInteger) == integer)
        return true;
    return ask(tr("Data type is wrong! Do you really want to continue?")) == QMessageBox::Yes;
}

bool zr6200fp_digitCtrl::baseAllowed(int index) const
{
    return index >= 0 && index < Format::kBaseCount &&
           (Format::baseTable[size_t(index)].kindMask & kindMask) == kindMask;
}

void zr6200fp_digitCtrl::setFormat(const char *format)
{
    const Format::FormatSpec parsed = Format::parse(format, isInteger, fields.flag);
    fields = parsed;
    size_t chosen = 0;
    for (size_t slot = Format::kBaseCount - 1; slot >= 1; --slot) {
        if (actions[slot] && Format::baseTable[size_t(baseOf(actions[slot]))].conversion == parsed.conversion) {
            chosen = slot;
            break;
        }
    }
    setBase(baseOf(actions[chosen]));
}

void zr6200fp_digitCtrl::setBase(int index)
{
    if (!baseAllowed(index)) {
        const int rowMask = index >= 0 && index < Format::kBaseCount ? Format::baseTable[size_t(index)].kindMask : 0;
        std::printf("base:%d, flag:0x%x, MenuFlag:0x%x\n", index, unsigned(rowMask), unsigned(kindMask));
        std::fflush(stdout);
        ask(tr("try missconfigure: non supported new base"));
    } else {
        currentBase = index;
        editor->baseButton->setText(QLatin1String(Format::baseTable[size_t(index)].tag));
        // The tag is one letter; a screen reader reads the base in words.
        editor->baseButton->setAccessibleName(
            tr("Number format: %1").arg(tr(Format::baseTable[size_t(index)].menuText)));
    }
    rebuildFormatAndValidator();
    updateText();
}

// currentBase always names a row allowed for this control (setBase refuses
// others), so the row's conversion fits the kind.
void zr6200fp_digitCtrl::rebuildFormatAndValidator()
{
    qstrncpy(format, Format::printfFormat(fields, currentBase, isInteger).constData(), sizeof format);
    if (!isInteger) {
        // Every decimal the field shows can be typed again.
        static_cast<QDoubleValidator *>(validator)->setDecimals(Format::typedDecimals(fields, currentBase));
        return;
    }
    regularExpression.setPattern(
        Format::validatorPattern(Format::baseTable[size_t(currentBase)].radix, bits, isSigned, fields.precision));
    static_cast<QRegularExpressionValidator *>(validator)->setRegularExpression(regularExpression);
}

QString zr6200fp_digitCtrl::textFromValue() const
{
    if (!isInteger)
        return Format::doubleText(currentValue, format);
    return Format::integerText(currentValueXXL, fields, currentBase, bits, isSigned);
}

void zr6200fp_digitCtrl::updateText()
{
    editor->setUpdatesEnabled(false);
    shownText = textFromValue();
    editor->setText(shownText);
    editor->setUpdatesEnabled(true);
    editor->repaint();
    repaint();
}

intXXL zr6200fp_digitCtrl::clampAndAlign(intXXL x) const
{
    x = std::clamp(x, minimumXXL, maximumXXL);
    // Clearing more than bits - 1 low bits would take a negative value out of
    // a signed type.
    const int cleared = isSigned ? std::min(alignBits, bits - 1) : alignBits;
    const intXXL lowBits = (intXXL(1) << cleared) - intXXL(1);
    const intXXL aligned = x & ~lowBits;
    if (aligned >= minimumXXL)
        return aligned;
    // Rounded down below the minimum: the next aligned value up, unless the
    // range holds none, where the range wins.
    const intXXL up = aligned + lowBits + intXXL(1);
    return up <= maximumXXL ? up : x;
}

void zr6200fp_digitCtrl::updateStepFlags(bool belowMaximum, bool aboveMinimum)
{
    const bool editable = !editor->isReadOnly();
    stepFlags = 0;
    if (editable && (belowMaximum || wrapping()))
        stepFlags |= StepUpEnabled;
    if (editable && (aboveMinimum || wrapping()))
        stepFlags |= StepDownEnabled;
}

void zr6200fp_digitCtrl::setValue(double v)
{
    if (!checkKind(false))
        return;
    const double old = currentValue;
    double bounded = v;
    boundValue(bounded);
    currentValue = bounded;
    updateStepFlags(maximum > currentValue, currentValue > minimum);
    updateText();
    if (currentValue != old) // a NaN always counts as a change
        emit valueChanged(currentValue);
}

void zr6200fp_digitCtrl::setValue(intXXL x)
{
    if (!checkKind(true))
        return;
    const intXXL old = currentValueXXL;
    // Decimal input is clamped; a bit pattern wraps around the type first.
    if (Format::baseTable[size_t(currentBase)].radix != 10)
        x = Format::normalize(x, bits, isSigned);
    currentValueXXL = clampAndAlign(x);
    updateStepFlags(maximumXXL > currentValueXXL, currentValueXXL > minimumXXL);
    updateText();
    if (currentValueXXL != old)
        emit valueChanged(currentValueXXL.toLongLong());
}

void zr6200fp_digitCtrl::setValue(qint64 init)
{
    setValue(intXXL(init));
}

void zr6200fp_digitCtrl::slotClear(int)
{
    editor->clear();
}

bool zr6200fp_digitCtrl::boundValue(double &v)
{
    if (!checkKind(false))
        return false;
    if (v > maximum)
        v = maximum;
    else if (v < minimum)
        v = minimum;
    return true;
}

void zr6200fp_digitCtrl::setRange(double min, double max, double step)
{
    if (!checkKind(false))
        return;
    minimum = std::min(min, max);
    maximum = std::max(min, max);
    if (step != 0.0)
        stepUp = stepDown = std::abs(step);
    setValue(currentValue);
}

void zr6200fp_digitCtrl::setRange(intXXL min, intXXL max, intXXL step, int bits)
{
    if (!checkKind(true))
        return;
    if (bits != 0) {
        this->bits = std::clamp(bits, 1, 64);
        rebuildFormatAndValidator();
        updateGeometry();
    }
    if (step != intXXL())
        stepUpXXL = stepDownXXL = step < intXXL() ? intXXL() - step : step;
    min = Format::normalize(min, this->bits, isSigned);
    max = Format::normalize(max, this->bits, isSigned);
    // A signed limit with bits above the type's width can lie outside it even
    // after normalising: keep both limits inside the type.
    const intXXL lowest = Format::typeMinimum(this->bits, isSigned);
    const intXXL highest = Format::typeMaximum(this->bits, isSigned);
    maximumXXL = std::clamp(std::max(min, max), lowest, highest);
    minimumXXL = std::clamp(std::min(min, max), lowest, highest);
    setValue(currentValueXXL);
}

void zr6200fp_digitCtrl::setBits(int bits)
{
    const int width = std::clamp(bits, 1, 64);
    setRange(Format::typeMinimum(width, isSigned), Format::typeMaximum(width, isSigned), intXXL(), width);
}

void zr6200fp_digitCtrl::setSingleStep(double step)
{
    if (checkKind(false))
        stepUp = stepDown = step;
}

void zr6200fp_digitCtrl::setStepUp(double step)
{
    if (checkKind(false))
        stepUp = step;
}

void zr6200fp_digitCtrl::setStepDown(double step)
{
    if (checkKind(false))
        stepDown = step;
}

void zr6200fp_digitCtrl::setSingleStep(qint64 step)
{
    if (checkKind(true))
        stepUpXXL = stepDownXXL = intXXL(step);
}

void zr6200fp_digitCtrl::setStepUp(qint64 step)
{
    if (checkKind(true))
        stepUpXXL = intXXL(step);
}

void zr6200fp_digitCtrl::setStepDown(qint64 step)
{
    if (checkKind(true))
        stepDownXXL = intXXL(step);
}

void zr6200fp_digitCtrl::setAlignmentBits(int n)
{
    alignBits = std::clamp(n, 0, 62);
    minStep = intXXL(qint64(1) << alignBits);
    setValue(currentValueXXL);
}

QSize zr6200fp_digitCtrl::minimumSizeHint() const
{
    const QSize hint = QAbstractSpinBox::minimumSizeHint();
    const int letters = isInteger ? bits / 4 : 2;
    int w = hint.width() + metrics.horizontalAdvance(QString(letters, QLatin1Char('F')));
    if (!editor->baseButton->isHidden())
        w += metrics.horizontalAdvance(QLatin1Char('H'));
    return QSize(w, hint.height());
}

void zr6200fp_digitCtrl::resizeEvent(QResizeEvent *e)
{
    QAbstractSpinBox::resizeEvent(e);
    const int wH = metrics.horizontalAdvance(QLatin1Char('H'));
    QMargins margins = editor->textMargins();
    zr6200fp_newPushButton *button = editor->baseButton;
    if (!button->isHidden()) {
        // Overhangs the field and is clipped to it.
        button->setGeometry(-(wH / 2), -10, 2 * wH, editor->height() + 20);
        margins.setLeft(wH + wH / 2);
    } else {
        margins.setLeft(0);
    }
    editor->setTextMargins(margins);
}

void zr6200fp_digitCtrl::keyPressEvent(QKeyEvent *e)
{
    // QAbstractSpinBox makes the field emit returnPressed() on Return
    // whatever the validator says; only acceptable input is committed.
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !editor->hasAcceptableInput()) {
        e->ignore();
        return;
    }
    QAbstractSpinBox::keyPressEvent(e);
}

void zr6200fp_digitCtrl::contextMenuEvent(QContextMenuEvent *e)
{
    if (e->reason() != QContextMenuEvent::Keyboard || editor->baseButton->isHidden()) {
        QAbstractSpinBox::contextMenuEvent(e);
        return;
    }
    e->accept();
    baseMenu->exec(editor->mapToGlobal(QPoint(0, editor->height())));
}

void zr6200fp_digitCtrl::stepBy(int steps)
{
    if (isReadOnly())
        return;
    newText();
    if (isInteger) {
        const intXXL candidate = steps > 0 ? currentValueXXL + std::max(stepUpXXL, minStep)
                                           : currentValueXXL - std::max(stepDownXXL, minStep);
        // A step is no typed bit pattern: it stops at the range's ends in
        // every base, where setValue would wrap it around the type first.
        setValue(std::clamp(wrapped(wrapping(), candidate, minimumXXL, maximumXXL), minimumXXL, maximumXXL));
        return;
    }
    setValue(wrapped(wrapping(), currentValue + steps * (steps >= 1 ? stepUp : stepDown), minimum, maximum));
}

QAbstractSpinBox::StepEnabled zr6200fp_digitCtrl::stepEnabled() const
{
    return StepEnabled(stepFlags);
}

void zr6200fp_digitCtrl::newText()
{
    // The field shows the value rounded to its notation: reading back the
    // text as it was shown would change the value by itself.
    if (editor->text() == shownText)
        return;
    const QString text = editor->text();
    if (isInteger) {
        intXXL typed;
        if (Format::readInteger(text, currentBase, isSigned, &typed)) {
            setValue(typed);
            return;
        }
    } else {
        double typed = 0.0;
        if (Format::readDouble(text, &typed)) {
            setValue(typed);
            return;
        }
    }
    updateText();
}

void zr6200fp_digitCtrl::setBase_slot()
{
    auto next =
        std::find_if(actions.begin(), actions.end(), [this](const QAction *a) { return baseOf(a) == currentBase; });
    if (next != actions.end())
        ++next;
    if (next == actions.end() || !*next)
        next = actions.begin();
    (*next)->activate(QAction::Trigger);
}

void zr6200fp_digitCtrl::menuClicked_slot(QAction *action)
{
    const auto found = std::find(actions.begin(), actions.end(), action);
    // Text typed in the old base is committed in the old base.
    newText();
    if (action && found != actions.end())
        setBase(baseOf(action));
}

double zr6200fp_digitCtrl::numeric(double d, const intXXL &x) const
{
    if (!isInteger)
        return d;
    // The integer is within its 64-bit type: its low 64 bits are exact.
    const qint64 low = x.toLongLong();
    return isSigned ? double(low) : double(quint64(low));
}

int zr6200fp_digitCtrl::baseOf(const QAction *action)
{
    return action ? action->data().toInt() : -1;
}

void zr6200fp_digitCtrl::retPressed_slot()
{
    emit returnPressed();
}
