#include "form1.h"

void Form1::Command4_Click() {}
