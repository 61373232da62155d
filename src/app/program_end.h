// How the program ends on request: Exit, Esc on the splash screen, a missing Config.ini or a
// failed sound start.
#pragma once

// Asks the event loop to end once it runs (a request made before it starts still counts). The
// windows are left as they are: unlike closing the main window, this runs none of its close
// steps, so the sound system and the settings are not shut down first.
void Request_Event_Loop_End();
