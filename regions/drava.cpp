// Region 1, "Drava Region": List1, species 1 to 151 (row 0 is the placeholder).
#include "shell/form1.h"

void Form1::List1_Click()
{
    a_a();
    loadRows(1, 131, 151);
}

void Form1::a_a()
{
    loadRows(1, 1, 130);
}

void Form1::a_c()
{
    saveRows(1, 1, 72);
}

void Form1::a_d()
{
    saveRows(1, 73, 144);
}
