#include "support/fakes.h"

namespace ws::test {

bool FakeDialogs::openFile(const QString &title, QString &fileName)
{
    shown.push_back({title, fileName, false});
    if (answers.empty() || !answers.front()) {
        if (!answers.empty())
            answers.pop_front();
        return false;
    }
    fileName = *answers.front();
    answers.pop_front();
    return true;
}

bool FakeDialogs::saveFile(const QString &title, QString &fileName)
{
    const bool picked = openFile(title, fileName);
    shown.back().save = true;
    return picked;
}

bool FakeDialogs::chooseFolder(const QString &title, QString &folder)
{
    return openFile(title, folder);
}

void FakeDialogs::message(const QString &text, const QString &detail)
{
    messages << text;
    details << detail;
    if (onMessage)
        onMessage(text);
}

qint64 FakeClock::seconds()
{
    ++readings;
    if (onReading)
        onReading(*this);
    const qint64 now = current;
    current += step;
    return now;
}

bool FakeSerial::open()
{
    ++opens;
    if (failOpen)
        return false;
    isOpen = true;
    return true;
}

void FakeSerial::close()
{
    ++closes;
    isOpen = false;
}

void FakeSerial::write(const QByteArray &bytes)
{
    written << bytes;
    if (onWrite)
        onWrite(bytes);
}

void FakeSerial::waitForData(int maxMilliseconds)
{
    ++waits;
    if (clock)
        clock->currentMs += maxMilliseconds;
}

QByteArray FakeSerial::read()
{
    QByteArray out;
    out.swap(pending);
    return out;
}

} // namespace ws::test
