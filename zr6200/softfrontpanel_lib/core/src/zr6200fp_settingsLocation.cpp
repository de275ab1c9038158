#include "core/zr6200fp_settingsLocation.h"

#include <QStandardPaths>

namespace zr6200fp_settingsLocation {

namespace {

QString joined(const Environment &environment, std::initializer_list<const char *> parts)
{
    const QLatin1Char separator(environment.platform == Platform::Windows ? '\\' : '/');
    QString path = root(environment);
    for (const char *part : parts)
        path += separator + QLatin1String(part);
    return path;
}

} // namespace

Environment current()
{
    Environment environment;
#ifdef Q_OS_WIN
    environment.platform = Platform::Windows;
#endif
    environment.allUsersProfile = qEnvironmentVariable("ALLUSERSPROFILE");
    environment.userConfigFolder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return environment;
}

QString root(const Environment &environment)
{
    // An empty variable cannot exist on Windows; it counts as unset.
    if (!environment.allUsersProfile.isEmpty())
        return environment.allUsersProfile;
    return environment.platform == Platform::Windows ? QStringLiteral("c:\\vxipnp") : environment.userConfigFolder;
}

QString settingsFolder(const Environment &environment)
{
    if (environment.platform == Platform::Windows && environment.allUsersProfile.isEmpty())
        return root(environment);
    return joined(environment, {"Halvar", "zrvisa"});
}

QString addressFile(const Environment &environment)
{
    return joined(environment, {"Halvar", "DefaultInstrDescr.ini"});
}

} // namespace zr6200fp_settingsLocation
