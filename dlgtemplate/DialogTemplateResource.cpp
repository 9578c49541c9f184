#include "DialogTemplateResource.h"

std::unique_ptr<DialogTemplate> LoadFromResource(HINSTANCE instance, WORD resourceId) {
    HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(resourceId), RT_DIALOG);
    if (resource == nullptr) return nullptr;
    const DWORD size = SizeofResource(instance, resource);
    HGLOBAL loaded = LoadResource(instance, resource);
    if (loaded == nullptr) return nullptr;
    const void* bytes = LockResource(loaded);
    if (bytes == nullptr) return nullptr;
    return DialogTemplate::FromBytes({static_cast<const std::uint8_t*>(bytes), size});
}
