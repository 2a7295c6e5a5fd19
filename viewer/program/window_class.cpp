// The viewer's window class (WM_CLASS: instance "tessaro", class "Tessaro"), by which window
// managers and task bars name the window and match it to the desktop entry.
//
// freeglut sets no class, and it creates and maps the window within glutCreateWindow, while
// the ICCCM asks for the class before the window is first mapped. The one call that freeglut
// makes to Xlib in between is XSetWMProperties, without class hints. So the viewer defines
// that function itself: the dynamic linker binds freeglut's call to this definition, which
// hands the same properties, with the class, to Xlib's own. No OpenGL call is added.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>

namespace {

using SetWindowManagerProperties = void (*)(Display*, Window, XTextProperty*, XTextProperty*,
                                            char**, int, XSizeHints*, XWMHints*, XClassHint*);

char instanceName[] = "tessaro";
char className[] = "Tessaro";

} // namespace

extern "C" void XSetWMProperties(Display* display, Window window, XTextProperty* windowName,
                                 XTextProperty* iconName, char** argv, int argc,
                                 XSizeHints* normalHints, XWMHints* hints, XClassHint* classHints) {
    static const auto xlibOwn =
        reinterpret_cast<SetWindowManagerProperties>(dlsym(RTLD_NEXT, "XSetWMProperties"));
    XClassHint tessaroClass{instanceName, className};
    xlibOwn(display, window, windowName, iconName, argv, argc, normalHints, hints,
            classHints != nullptr ? classHints : &tessaroClass);
}
