#pragma once

#include <QString>

namespace ws::receiver {

// The user's receiver settings, each exactly as typed: the time-out goes
// into the log as typed, the LNB-power and DiSEqC texts into the tune
// command unchanged. A value made without arguments holds what each
// setting is until the user gives one: the window's boxes open with these
// texts, and the command line takes them for a setting it is not given.
struct ReceiverSettings
{
    static constexpr char kDefaultTimeout[] = "10";
    static constexpr char kDefaultPort[] = "2";
    static constexpr char kDefaultLnbPower[] = "1";
    static constexpr char kDefaultDiseqc[] = "0";

    QString timeout = QLatin1String(kDefaultTimeout); // seconds, fractions count; not a number reads as 0
    QString port = QLatin1String(kDefaultPort);       // see portFor()
    QString lnbPower = QLatin1String(kDefaultLnbPower);
    QString diseqc = QLatin1String(kDefaultDiseqc);
};

} // namespace ws::receiver
