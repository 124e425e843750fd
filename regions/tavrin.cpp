// Region 4, "Tavrin Region": List4, species 387 to 493.
#include "shell/form1.h"

void Form1::List4_Click()
{
    loadRows(4, 0, 106);
}

void Form1::a_i()
{
    saveRows(4, 0, 71);
}

void Form1::a_j()
{
    saveRows(4, 72, 106);
}
