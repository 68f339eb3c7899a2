#include "form1.h"

void Form1::Picture1_MouseDown(std::int16_t, std::int16_t, float, float) {}

void Form1::Picture2_MouseDown(std::int16_t, std::int16_t, float, float) {}

void Form1::Command6_Click() {}

QString Form1::CheckSignal(const QString &, const QString &, const QString &, const QString &)
{
    return QString();
}
