#include "install/progressanimation.h"

#include "wizard/form1.h"
#include "wizard/trackgeometry.h"

void Form1::Timer1_Timer()
{
    setPicture3Left(nextBlockLeft(picture3Left(), Track::Left, Track::Width));
}
