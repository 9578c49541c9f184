// Windows only: the model itself (DialogTemplate.h) stays portable for the native tests and fuzzer.
#ifndef TORVAN_DLGTEMPLATE_DIALOGTEMPLATERESOURCE_H
#define TORVAN_DLGTEMPLATE_DIALOGTEMPLATERESOURCE_H

#include <windows.h>

#include <memory>

#include "DialogTemplate.h"

// The program's way to make a template from its own dialog resource: the RT_DIALOG resource
// `resourceId` of `instance` through DialogTemplate::FromBytes; nullptr if missing or malformed.
std::unique_ptr<DialogTemplate> LoadFromResource(HINSTANCE instance, WORD resourceId);

#endif
