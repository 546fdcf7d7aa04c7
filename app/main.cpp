#include "app/BrowserApp.h"

int main(int argc, char** argv)
{
    return CBrowserApp::Run(argc, argv);
}
