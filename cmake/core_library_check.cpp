// Compiled into every library made with salon_core_library (salon.cmake): such a library must
// build with Qt Core alone, so no header of Qt Gui or Qt Widgets may be reachable from it.
#if __has_include(<QtGui/qtguiglobal.h>) || __has_include(<QtWidgets/qtwidgetsglobal.h>) || \
    __has_include(<QGuiApplication>) || __has_include(<QWidget>)
#error "a core library sees Qt Gui or Qt Widgets headers: link it with Qt Core only"
#endif
