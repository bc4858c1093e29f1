#include "mainwindow/Application.h"

int main(int argc, char* argv[])
{
    return fernquill::runApplication(argc, argv);
}
