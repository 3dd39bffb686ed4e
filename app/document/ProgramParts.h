// The frame and view classes the running program's document template is built from: the main
// frame and the drawing view.
#pragma once

#include "app/document/OrvanelApp.h"

// The program's own parts: its frame and drawing view, the running executable's folder and the
// program's own command line.
AppParts ProgramParts();
