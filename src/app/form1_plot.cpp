#include "form1.h"

void Form1::DrawScans() {}
