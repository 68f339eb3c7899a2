#include "form1.h"

void Form1::Picture3_MouseDown(std::int16_t, std::int16_t, float, float)
{
    ScanMapEntries();
}

void Form1::ScanMapEntries() {}
