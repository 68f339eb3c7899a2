#include "form1.h"

void Form1::Picture1_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y)
{
    ShowFrequencyAt(Button, Shift, X, Y);
}

void Form1::Picture2_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y)
{
    ShowFrequencyAt(Button, Shift, X, Y);
}

void Form1::Picture3_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y)
{
    ShowFrequencyAt(Button, Shift, X, Y);
}

void Form1::ShowFrequencyAt(std::int16_t, std::int16_t, float, float) {}
