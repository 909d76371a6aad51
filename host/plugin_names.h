// The names the plug-in goes by towards the host: its name, which is also the caption of
// every message box it shows, and its identifier, the prefix of its service name. Plain
// #defines only, so the resource compiler reads them too.
#pragma once

#define ZAVRIK_NAME "Zavrik"
#define ZAVRIK_IDENTIFIER "AddIn/Zavrik"
