#pragma once

#include <QByteArray>
#include <QString>

namespace ws::test {

// Switches the C library to German number formats (decimal comma), as
// QCoreApplication does on a German desktop, and checks that strtod really
// reads "2.5" as 2 now. A machine without such a locale (a fresh Debian has
// only C and POSIX) gets one compiled with localedef from the sources of
// the `locales` package into a folder that lives as long as the process.
// Returns why that failed, or nothing: the caller must fail then, since a
// locale test that quietly ran under "C" would prove nothing.
QString useCommaLocale();

// Keeps the comma locale for one test and puts back the locale that was in
// use before, however the test ends, so that the program's other tests run
// as they would without this one.
class CommaLocaleScope
{
public:
    CommaLocaleScope();
    ~CommaLocaleScope();
    CommaLocaleScope(const CommaLocaleScope &) = delete;
    CommaLocaleScope &operator=(const CommaLocaleScope &) = delete;

    // Empty when the comma locale is in use.
    const QString &error() const { return error_; }

private:
    QByteArray previous_;
    QString error_;
};

} // namespace ws::test
