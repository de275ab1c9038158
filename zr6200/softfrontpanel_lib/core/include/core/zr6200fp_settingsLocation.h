#pragma once

#include <QString>

// Where the maker's settings live. The folders follow the all-users profile
// of Windows (ALLUSERSPROFILE); elsewhere the variable is honoured when set,
// and the user's configuration folder takes the place of the profile.
namespace zr6200fp_settingsLocation {

enum class Platform { Windows, Other };

struct Environment
{
    Platform platform = Platform::Other;
    QString allUsersProfile;  // empty when unset
    QString userConfigFolder; // used on other platforms without a profile
};

// This process's platform and environment.
Environment current();

// The folder the maker's files go under (ends without a separator).
QString root(const Environment &environment);
// The maker's settings folder, ...\Halvar\zrvisa ("c:\vxipnp" on Windows
// without a profile).
QString settingsFolder(const Environment &environment);
// DefaultInstrDescr.ini, the remembered resource descriptors.
QString addressFile(const Environment &environment);

} // namespace zr6200fp_settingsLocation
