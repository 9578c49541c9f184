// The program's way to make a template from its own dialog resource. Windows only, so that the
// model itself (DialogTemplate.h) stays portable for the native tests and the fuzzer.
#ifndef TORVAN_DLGTEMPLATE_DIALOGTEMPLATERESOURCE_H
#define TORVAN_DLGTEMPLATE_DIALOGTEMPLATERESOURCE_H

#include <windows.h>

#include <memory>

#include "DialogTemplate.h"

// The RT_DIALOG resource `resourceId` of `instance`, parsed by DialogTemplate::FromBytes; nullptr
// if missing or malformed.
std::unique_ptr<DialogTemplate> LoadFromResource(HINSTANCE instance, WORD resourceId);

#endif
