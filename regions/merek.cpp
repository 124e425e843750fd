// Region 3, "Merek Region": List3, species 252 to 386.
#include "shell/form1.h"

void Form1::List3_Click()
{
    loadRows(3, 0, 130);
    a_b();
}

void Form1::a_b()
{
    loadRows(3, 131, 134);
}

void Form1::a_g()
{
    saveRows(3, 0, 71);
}

void Form1::a_h()
{
    saveRows(3, 72, 134);
}
