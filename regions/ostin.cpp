// Region 2, "Ostin Region": List2, species 152 to 251. Its second save routine
// also saves List1 rows 145 to 151.
#include "shell/form1.h"

void Form1::List2_Click()
{
    loadRows(2, 0, 99);
}

void Form1::a_e()
{
    saveRows(2, 72, 72);
    saveRows(1, 145, 151);
    saveRows(2, 73, 99);
}

void Form1::a_f()
{
    saveRows(2, 0, 71);
}
