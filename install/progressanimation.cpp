#include "install/progressanimation.h"

#include "wizard/form1.h"

void Form1::Timer1_Timer()
{
    setPicture3Left(nextBlockLeft(picture3Left(), picture2Left(), picture2Width()));
}
