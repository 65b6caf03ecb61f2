// main.cpp - the Windows entry point of spindle2.exe.
#include "app/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    return runProgram(instance, commandLine);
}
