#pragma once
// What the skin rules know a window or control by: the class name of its kind on the platform
// the rules were written for ("TButton", "TComboBox", "TPageControl" …), its Tag, and whether it
// is one of the toolkit's own windows. A widget may name its class and Tag itself through the
// dynamic properties of ControlProperties.h (a panel, the data grid, a window's Tag 99).

#include "platform/forms/ControlProperties.h"
#include "platform/text/AnsiText.h"

class QWidget;

AnsiString SkinClassName(const QWidget* widget);
int SkinTag(const QWidget* widget);
// The program's own windows and message boxes, as opposed to a standard dialog ("#32770").
bool IsToolkitWindow(const QWidget* window);
// A page of a QTabWidget.
bool IsTabPage(const QWidget* widget);
