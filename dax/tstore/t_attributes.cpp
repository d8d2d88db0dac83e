// Placeholder bodies until the attribute operations are written.
#include "tstore/t_attributes.h"

#include "frame/error_model.h"
#include "tstore/t_errors.h"

namespace Ostrel::Zam::tstore {

namespace {
[[noreturn]] void NotBuilt() {
    RaiseError(kParameterInvalid, "T.T_Object", "Not built yet");
}
}  // namespace

bool Is_Declared_Attribute(const T_Object &, std::string_view) {
    NotBuilt();
}
bool New_Attributes_Allowed(const T_Object &) {
    NotBuilt();
}
std::string Default_Attribute_Name(const T_Object &) {
    NotBuilt();
}
void Give_Initial_Attribute_Values(const T_Object &, VekTreeNode &) {}
bool Attribute_Has_Value(const T_Object &, std::string_view) {
    NotBuilt();
}
std::string Get_Attribute_Value(const T_Object &, std::string_view, int32_t) {
    NotBuilt();
}
void Get_Attribute_Value_Variant(const T_Object &, std::string_view, VEKVARIANT &) {
    NotBuilt();
}
void Set_Attribute_Value(T_Object &, std::string_view, std::string_view, int32_t) {
    NotBuilt();
}
void Set_Attribute_Value_Variant(T_Object &, std::string_view, const VEKVARIANT &) {
    NotBuilt();
}
void Change_Attribute_Type(T_Object &, std::string_view, std::string_view, bool) {
    NotBuilt();
}
void Set_Node_Name(T_Object &, std::string_view) {
    NotBuilt();
}

}  // namespace Ostrel::Zam::tstore
