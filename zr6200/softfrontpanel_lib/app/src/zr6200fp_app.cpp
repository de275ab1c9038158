#include "app/zr6200fp_app.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QVBoxLayout>
#include <QWhatsThis>

#include "app/zr6200fp_help.h"
#include "app/zr6200fp_messages.h"
#include "core/zr6200fp_settingsLocation.h"
#include "led/zr6200fp_led.h"
#include "resources/zr6200fp_icons.h"

namespace {
const char *const kStartContHelp = QT_TRANSLATE_NOOP(
    "zr6200fp_app",
    "<html>Starts the repetitive data acquisition (or continuous data acquisition, when file storage option is "
    "turned on)</html>");

// The acquisition controls show their help as a tool tip too.
void setHelpAndTip(QWidget *w, const QString &help)
{
    zr6200fp_help::setHelp(w, help);
    w->setToolTip(help);
}

// Qt gives a top-level widget the client role; a screen reader expects a
// main window to be a frame.
QAccessibleInterface *frameInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("zr6200fp_app") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

QLabel *logoLabel(const QString &resource, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setPixmap(zr6200fp_icons::picture(resource, qApp->devicePixelRatio()));
    return label;
}
} // namespace

zr6200fp_app::zr6200fp_app()
    : QWidget(nullptr)
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Before the accessibility bus first asks for the window.
    static const bool frameInterfaceInstalled = (QAccessible::installFactory(frameInterface), true);
    Q_UNUSED(frameInterfaceInstalled);

    auto *mainLayout = new QVBoxLayout(this);
    auto *headerRow = new QHBoxLayout;
    auto *bodyRow = new QHBoxLayout;
    buttonColumn = new QVBoxLayout;
    const int h = fontMetrics().height();
    const int h2 = h / 2;

    mainLayout->setSpacing(h);
    mainLayout->setContentsMargins(0, 0, 0, 0);
    headerRow->setSpacing(0);
    bodyRow->setSpacing(h);
    bodyRow->setContentsMargins(h2, 0, 0, h2);
    buttonColumn->setSpacing(h2);
    buttonColumn->setContentsMargins(0, 0, h2, h2);

    mainLayout->addLayout(headerRow);
    mainLayout->addLayout(bodyRow);
    contentWidget = new QWidget(this);
    contentWidget->setObjectName(QStringLiteral("contentWidget"));
    bodyRow->addWidget(contentWidget);
    bodyRow->addLayout(buttonColumn);

    setWindowIcon(zr6200fp_icons::windowIcon());

    // Created in the order the keyboard focus passes them.
    addHeader(headerRow);
    addLampBox(h);
    autoscaleButton =
        addToggle(QStringLiteral("autoscale"), tr("Autoscale"), true, tr("Enables/disables plot autorescale feature"),
                  &zr6200fp_app::autoscaleToggledSlot, &autoscaleLabel);
    identButton =
        addToggle(QStringLiteral("ident"), tr("Identify"), false,
                  tr("Enables/disables visual identification mechanism"), &zr6200fp_app::identToggledSlot, &identLabel);
    addAcquisitionButtons();
    addCommandButtons();

    frameBuilt = true;
    mainLayout->setSizeConstraint(QLayout::SetMinimumSize);
    centerWidget(this);
}

void zr6200fp_app::addHeader(QHBoxLayout *headerRow)
{
    headerRow->addWidget(logoLabel(QStringLiteral(":/halvar-logo.bmp"), this));
    headerLabel = new QLabel(this);
    headerLabel->setObjectName(QStringLiteral("headerLabel"));
    headerLabel->setStyleSheet(QStringLiteral("QLabel { background-color: #1a2c5e; color: #ffffff; font: bold 20px}"));
    headerLabel->setAlignment(Qt::AlignCenter);
    headerLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    headerRow->addWidget(headerLabel);
    busLogoLabel = logoLabel(QStringLiteral(":/vxi-logo.bmp"), this);
    busLogoLabel->setObjectName(QStringLiteral("busLogoLabel"));
    headerRow->addWidget(busLogoLabel);
}

void zr6200fp_app::addLampBox(int spacing)
{
    auto *ledGroup = new QVBoxLayout;
    ledGroup->setSpacing(spacing);
    auto *ledBox = new QGroupBox(this);
    ledBox->setLayout(ledGroup);
    activeLed = new zr6200fp_led(tr("Active"), QColor(Qt::green), QColor(Qt::magenta), ledBox);
    activeLed->setObjectName(QStringLiteral("activeLed"));
    zr6200fp_help::setHelp(activeLed,
                           tr("Green light means that the Soft Front Panel works\nin Real (not Demo) mode."));
    moduleLabel = new QLabel(ledBox);
    moduleLabel->setObjectName(QStringLiteral("moduleLabel"));
    fcLabel = new QLabel(ledBox);
    fcLabel->setObjectName(QStringLiteral("fcLabel"));
    ledGroup->addWidget(activeLed, 0, Qt::AlignHCenter);
    ledGroup->addWidget(moduleLabel, 0, Qt::AlignHCenter);
    ledGroup->addWidget(fcLabel, 0, Qt::AlignHCenter);
    buttonColumn->addWidget(ledBox);
    buttonColumn->addStretch();
}

QPushButton *zr6200fp_app::addToggle(const QString &name, const QString &caption, bool on, const QString &help,
                                     void (zr6200fp_app::*slot)(bool), QLabel **label)
{
    *label = new QLabel(caption, this);
    (*label)->setObjectName(name + QLatin1String("Label"));
    (*label)->setAlignment(Qt::AlignCenter);
    auto *button = new QPushButton(on ? tr("ON") : tr("OFF"), this);
    button->setObjectName(name + QLatin1String("Button"));
    button->setCheckable(true);
    // Before the connection: the starting state is no toggle.
    button->setChecked(on);
    setHelpAndTip(button, help);
    connect(button, &QPushButton::toggled, this, slot);
    (*label)->hide();
    button->hide();
    buttonColumn->addWidget(*label);
    buttonColumn->addWidget(button);
    buttonColumn->addStretch();
    return button;
}

QPushButton *zr6200fp_app::addIconButton(const QString &name, const QIcon &icon, QSize iconSize)
{
    auto *button = new QPushButton(this);
    button->setObjectName(name);
    button->setIcon(icon);
    // At its own size: a pixel picture scaled by a fraction turns blurred.
    button->setIconSize(iconSize);
    return button;
}

void zr6200fp_app::addAcquisitionButtons()
{
    startButton = addIconButton(QStringLiteral("startButton"), zr6200fp_icons::startIcon(),
                                zr6200fp_icons::startIconImage().size());
    startButton->setCheckable(true);
    setHelpAndTip(startButton, tr("Starts the single-shot data acquisition"));
    connect(startButton, &QPushButton::toggled, this, &zr6200fp_app::startToggledSlot);
    startContButton = addIconButton(QStringLiteral("startContButton"), zr6200fp_icons::continuousIcon(),
                                    zr6200fp_icons::continuousIconImage().size());
    startContButton->setCheckable(true);
    setHelpAndTip(startContButton, tr(kStartContHelp));
    connect(startContButton, &QPushButton::toggled, this, &zr6200fp_app::startContToggledSlot);
    for (QPushButton *button : {startButton, startContButton}) {
        button->hide();
        buttonColumn->addWidget(button);
    }
    buttonColumn->addStretch();
}

void zr6200fp_app::addCommandButtons()
{
    resetButton = new QPushButton(tr("Reset Device"), this);
    resetButton->setObjectName(QStringLiteral("resetButton"));
    connect(resetButton, &QPushButton::clicked, this, &zr6200fp_app::resetPressed);
    buttonColumn->addWidget(resetButton);
    buttonColumn->addStretch();

    helpButton =
        addIconButton(QStringLiteral("helpButton"), zr6200fp_icons::helpIcon(), zr6200fp_icons::helpIconImage().size());
    // Icon only: a screen reader needs its name.
    helpButton->setAccessibleName(tr("What's This?"));
    zr6200fp_help::setHelp(helpButton, tr("Show on-line help for Instrument Soft Front Panel components"));
    connect(helpButton, &QPushButton::clicked, this, &zr6200fp_app::enterWIT);
    buttonColumn->addWidget(helpButton);

    aboutButton = new QPushButton(tr("About"), this);
    aboutButton->setObjectName(QStringLiteral("aboutButton"));
    zr6200fp_help::setHelp(aboutButton, tr("Displays \"About\" panel"));
    buttonColumn->addWidget(aboutButton);

    closeButton = new QPushButton(tr("Close"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    zr6200fp_help::setHelp(closeButton, tr("Close main panel and terminates program"));
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    buttonColumn->addWidget(closeButton);
}

void zr6200fp_app::setPanelLayout(QLayout *layout)
{
    if (frameBuilt)
        contentWidget->setLayout(layout);
    else
        setLayout(layout);
}

void zr6200fp_app::setHeaderText(QString text)
{
    headerLabel->setText(text);
}

void zr6200fp_app::showLxiLogo(bool lxi)
{
    if (lxi)
        busLogoLabel->setPixmap(zr6200fp_icons::picture(QStringLiteral(":/lxi-logo.bmp"), qApp->devicePixelRatio()));
}

void zr6200fp_app::setDemoMode(bool demo)
{
    activeLed->setValue(demo ? 0 : 1);
}

void zr6200fp_app::setModuleLabel(QString text, QString help)
{
    moduleLabel->setText(text);
    if (!help.isEmpty())
        zr6200fp_help::setHelp(moduleLabel, help);
}

void zr6200fp_app::setFcLabel(QString text, QString help)
{
    fcLabel->setText(text);
    if (!help.isEmpty())
        zr6200fp_help::setHelp(fcLabel, help);
}

void zr6200fp_app::showAutoscale(bool show)
{
    autoscaleLabel->setVisible(show);
    autoscaleButton->setVisible(show);
    if (show)
        resize(800, 600);
}

void zr6200fp_app::showIdentify(bool show)
{
    identLabel->setVisible(show);
    identButton->setVisible(show);
}

QString zr6200fp_app::settingsFolder()
{
    return zr6200fp_settingsLocation::settingsFolder(zr6200fp_settingsLocation::current());
}

void zr6200fp_app::enterWIT()
{
    QWhatsThis::enterWhatsThisMode();
}

void zr6200fp_app::userBreak()
{
    if (startContButton->isChecked())
        startContButton->toggle();
    if (startButton->isChecked())
        startButton->toggle();
    startContButton->setEnabled(true);
    startButton->setEnabled(true);
}

void zr6200fp_app::enableStart()
{
    startContButton->setEnabled(true);
    startButton->setEnabled(true);
}

void zr6200fp_app::autoscaleToggledSlot(bool status)
{
    autoscaleButton->setText(status ? tr("ON") : tr("OFF"));
    emit autoscaleToggled(status);
}

void zr6200fp_app::identToggledSlot(bool status)
{
    identButton->setText(status ? tr("ON") : tr("OFF"));
    emit identToggled(status);
}

void zr6200fp_app::startToggledSlot(bool status)
{
    if (status) {
        startButton->setIcon(zr6200fp_icons::stopIcon());
        setHelpAndTip(startButton, tr("Breaks the Single-Shot Data Acquisition"));
        startContButton->setEnabled(false);
        emit startSingle();
    } else {
        startButton->setIcon(zr6200fp_icons::startIcon());
        setHelpAndTip(startButton, tr("Starts the Single-Shot Data Acquisition"));
        startButton->setEnabled(false);
        startContButton->setEnabled(false);
        emit breakSingle();
    }
}

void zr6200fp_app::startContToggledSlot(bool status)
{
    if (status) {
        startContButton->setIcon(zr6200fp_icons::stopIcon());
        setHelpAndTip(startContButton, tr("Stops the Data Acquisition process"));
        startButton->setEnabled(false);
        emit startCont();
    } else {
        startContButton->setIcon(zr6200fp_icons::continuousIcon());
        setHelpAndTip(startContButton, tr(kStartContHelp));
        startButton->setEnabled(false);
        startContButton->setEnabled(false);
        emit stopCont();
    }
}

void zr6200fp_app::closeEvent(QCloseEvent *event)
{
    if (exitQuestion())
        event->accept();
    else
        event->ignore();
}

void centerWidget(QWidget *w)
{
    const QScreen *screen = QGuiApplication::screens().value(0);
    if (!screen || !w)
        return;
    const QRect available = screen->availableGeometry();
    const QRect g = w->geometry();
    w->move((available.width() - g.width()) / 2, (available.height() - g.height()) / 2);
}
