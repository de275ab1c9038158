#pragma once

#include <QAbstractSpinBox>
#include <QByteArray>
#include <QFontMetrics>
#include <QRegularExpression>
#include <array>

#include "zr6200fp_intXXL.h"

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
public:
    // Which kinds of control may use a base (BaseRow::kindMask, kindMask).
    enum Kind { SignedInteger = 1, UnsignedInteger = 2, Double = 4 };

    struct BaseRow
    {
        int radix;       // 0 for the floating notations
        char conversion; // printf conversion character, 0 for binary
        const char *tag; // shown on the base button
        int kindMask;
        const char *menuText;
    };
    static constexpr int baseCount = 10;
    static const std::array<BaseRow, baseCount> baseTable;
    enum Base {
        Decimal,
        UnsignedDecimal,
        Hexadecimal,
        HexadecimalUpper,
        Octal,
        Binary,
        Float,
        General,
        Exponent,
        ExponentUpper
    };

    // What setFormat reads from a printf-style format.
    struct FormatSpec
    {
        char flag = 0; // '+', ' ' or 0 for none
        int width = -1;
        int precision = -1;
        char conversion = 0;
    };
    // flag is the flag in force, kept by a format without '%'. Widths and
    // precisions are limited to +-maxFieldWidth; a negative precision means
    // none, as in printf.
    static FormatSpec parseFormat(const char *format, bool isInteger, char flag);
    static constexpr int maxFieldWidth = 255;

    // Type limits for a width of 1 to 64 bits (other widths are taken as the
    // nearest of these).
    static intXXL bitMask(int bits);
    static intXXL typeMaximum(int bits, bool isSigned);
    static intXXL typeMinimum(int bits, bool isSigned);
    static intXXL normalize(const intXXL &x, int bits, bool isSigned);
    // Digits the type needs in radix (2 to 16).
    static int digitCount(int radix, int bits, bool isSigned);
    static QString validatorPattern(int radix, int bits, bool isSigned, int precision);

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

    double value() const { return m_value; }
    intXXL valueXXL() const { return m_valueXXL; }
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

    QMenu *baseMenu = nullptr;
    QFontMetrics metrics;
    QActionGroup *baseGroup = nullptr;
    int stepFlags = StepUpEnabled | StepDownEnabled;
    zr6200fp_newlineEdit *editor = nullptr;
    double m_value = 0.0;
    double m_stepUp = 1.0;
    double m_stepDown = 1.0;
    double m_maximum = 0.0;
    double m_minimum = 0.0;
    intXXL m_valueXXL;
    intXXL stepUpXXL{1};
    intXXL stepDownXXL{1};
    intXXL maximumXXL;
    intXXL minimumXXL;
    char format[256] = {};
    int width = -1;
    int precision = -1;
    char flag = 0;
    QRegularExpression regularExpression;
    QValidator *validator = nullptr;
    int isInteger = 0;
    int bits = 32;
    bool isSigned = true;
    int alignBits = 0;
    intXXL minStep{1};
    int currentBase = 0;
    std::array<QAction *, baseCount> actions{};
    std::array<int, baseCount> actionToBase{};
    std::array<int, baseCount> baseToAction{};
    int kindMask = Double;
};
