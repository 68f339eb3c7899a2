#include "form1.h"

void Form1::Command5_Click(int Index)
{
    LoadScan(std::int16_t(Index));
}

void Form1::LoadScan(std::int16_t) {}
