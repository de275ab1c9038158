#pragma once

#include <QAbstractSpinBox>
#include <QByteArray>
#include <QFontMetrics>
#include <QRegularExpression>
#include <array>

#include "core/zr6200fp_digitFormat.h"
#include "core/zr6200fp_intXXL.h"

class QAction;
class QActionGroup;
class QMenu;
class QValidator;
class zr6200fp_newlineEdit;

// Numeric entry field holding either a double or an integer of 1 to 64 bits
// (signed or unsigned, kept as intXXL), shown in a base or printf notation
// chosen from baseTable. Integer controls carry a base button at the left
// end of the field: a click steps to the next base, a right click opens the
// menu of all bases that fit the control.
class zr6200fp_digitCtrl final : public QAbstractSpinBox
{
    Q_OBJECT
    // What the accessibility bus reads as the value and its range (a spin
    // box's Value interface asks these properties): the double, or the
    // integer.
    Q_PROPERTY(double value READ numericValue)
    Q_PROPERTY(double minimum READ numericMinimum)
    Q_PROPERTY(double maximum READ numericMaximum)
public:
    using Format = zr6200fp_digitFormat;

    zr6200fp_digitCtrl(double min, double max, double step, const char *format, QWidget *parent = nullptr);
    explicit zr6200fp_digitCtrl(QWidget *parent = nullptr);
    zr6200fp_digitCtrl(qint64 min, qint64 max, qint64 step, bool isSigned, int bits, const char *format,
                       QWidget *parent = nullptr);
    ~zr6200fp_digitCtrl() override;

    void setFormat(const char *format);
    void setBase(int index);
    void setRange(double min, double max, double step);
    void setRange(intXXL min, intXXL max, intXXL step, int bits);
    void setBits(int bits);
    void setSingleStep(double step);
    void setStepUp(double step);
    void setStepDown(double step);
    void setSingleStep(qint64 step);
    void setStepUp(qint64 step);
    void setStepDown(qint64 step);
    void setAlignmentBits(int n);
    bool boundValue(double &v);

    double value() const { return currentValue; }
    intXXL valueXXL() const { return currentValueXXL; }
    int base() const { return currentBase; }
    QByteArray formatString() const { return QByteArray(format); }

    QSize minimumSizeHint() const override;

public slots:
    void setValue(double v);
    void setValue(intXXL x);
    void setValue(qint64 init);
    void slotClear(int);

signals:
    void valueChanged(double);
    void valueChanged(qint64);
    void valueChanged(QString valueText);
    void returnPressed();

protected:
    void resizeEvent(QResizeEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    // From the keyboard, the base menu the base button opens to the mouse.
    void contextMenuEvent(QContextMenuEvent *e) override;
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override;

private slots:
    void newText();
    void setBase_slot();
    void menuClicked_slot(QAction *action);
    void retPressed_slot();

private:
    void setup();
    bool checkKind(bool integer);
    bool baseAllowed(int index) const;
    void rebuildFormatAndValidator();
    void updateText();
    QString textFromValue() const;
    intXXL clampAndAlign(intXXL x) const;
    void updateStepFlags(bool belowMaximum, bool aboveMinimum);
    // The baseTable row of a menu action; -1 for none.
    static int baseOf(const QAction *action);
    double numericValue() const { return numeric(currentValue, currentValueXXL); }
    double numericMinimum() const { return numeric(minimum, minimumXXL); }
    double numericMaximum() const { return numeric(maximum, maximumXXL); }
    double numeric(double d, const intXXL &x) const;

    QMenu *baseMenu = nullptr;
    QFontMetrics metrics;
    QActionGroup *baseGroup = nullptr;
    int stepFlags = StepUpEnabled | StepDownEnabled;
    zr6200fp_newlineEdit *editor = nullptr;
    double currentValue = 0.0;
    double stepUp = 1.0;
    double stepDown = 1.0;
    double maximum = 0.0;
    double minimum = 0.0;
    intXXL currentValueXXL;
    intXXL stepUpXXL{1};
    intXXL stepDownXXL{1};
    intXXL maximumXXL;
    intXXL minimumXXL;
    char format[256] = {};
    // What updateText() last put into the field.
    QString shownText;
    // Flag, width and precision of the format; the conversion is the base's.
    Format::FormatSpec fields;
    QRegularExpression regularExpression;
    QValidator *validator = nullptr;
    int isInteger = 0;
    int bits = 32;
    bool isSigned = true;
    int alignBits = 0;
    intXXL minStep{1};
    int currentBase = 0;
    // The menu's actions in menu order, each holding its baseTable row as
    // its data; slots left over are null.
    std::array<QAction *, Format::kBaseCount> actions{};
    int kindMask = Format::Double;
};
