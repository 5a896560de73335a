#include "app/ProgramServices.h"

int main(int argc, char* argv[]) { return quorvant::RunProgram(argc, argv); }
