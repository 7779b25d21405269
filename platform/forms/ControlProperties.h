#pragma once
// Dynamic properties through which a control tells what the Qt widget it is made of cannot:
// the class name it has in the window description ("TPanel", "TDBGridEh") and its Tag.

inline constexpr const char* kClassNameProperty = "ClassName";
inline constexpr const char* kTagProperty = "Tag";
