// The template objects of the module's two script-object classes, made at load
// after the error tables and before anything a client can ask for.
#include "platform/api.h"
#include "script/dax_custom_object.h"
#include "script/template_object.h"

namespace Ostrel::Zam {

namespace {

TemplateCustomObject<CustomObject> g_custom_object_template PLATFORM_INIT_PRIORITY(1300);
TemplateCustomObject<DaxCustomObject> g_dax_custom_object_template PLATFORM_INIT_PRIORITY(1301);

}  // namespace

CustomObject::ComponentDescriptor &CustomObjectClass() {
    return g_custom_object_template.Descriptor();
}

CustomObject::ComponentDescriptor &DaxCustomObjectClass() {
    return g_dax_custom_object_template.Descriptor();
}

}  // namespace Ostrel::Zam
