// A stand-in for Windows' UIAutomationCore.dll, for observing under Wine what
// Qt's UI Automation provider gives a screen reader. Qt 6.4.2 calls the real
// one only through the six functions it resolves at run time
// (qwindowsuiawrapper.cpp); this one exports the same six and
//   - answers that clients are listening, so that Qt raises its events;
//   - records every event raised, with its arguments and the control type
//     and name of the element it is raised on;
//   - keeps the root provider that Qt hands to UiaReturnRawElementProvider
//     when a window gets WM_GETOBJECT with UiaRootObjectId, and walks its tree
//     there, on the window's own thread, through IRawElementProviderSimple
//     and IRawElementProviderFragment: control type, name, help text,
//     description and value (Value pattern) of every element.
// Everything goes, a line each, UTF-8 and tab-separated, to C:\uia-record.txt
// (uia-walk.py reads it). Built with Debian's mingw-w64 (run.sh).
#define COBJMACROS
#include <initguid.h>
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include <uiautomationcore.h>

#include <stdio.h>

// What mingw-w64 10's headers lack (values from Windows' UIAutomationClient.h).
#define ROOT_OBJECT_ID (-25)
#define PATTERN_VALUE 10002
#define PROPERTY_CONTROL_TYPE 30003
#define PROPERTY_NAME 30005
#define PROPERTY_HELP_TEXT 30013
#define PROPERTY_FULL_DESCRIPTION 30159

// IValueProvider, which mingw-w64 10 does not declare.
typedef struct ValueProvider ValueProvider;
typedef struct {
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(ValueProvider*, REFIID, void**);
    ULONG(STDMETHODCALLTYPE* AddRef)(ValueProvider*);
    ULONG(STDMETHODCALLTYPE* Release)(ValueProvider*);
    HRESULT(STDMETHODCALLTYPE* SetValue)(ValueProvider*, LPCWSTR);
    HRESULT(STDMETHODCALLTYPE* get_Value)(ValueProvider*, BSTR*);
    HRESULT(STDMETHODCALLTYPE* get_IsReadOnly)(ValueProvider*, BOOL*);
} ValueProviderVtbl;
struct ValueProvider {
    const ValueProviderVtbl* lpVtbl;
};
DEFINE_GUID(IID_ValueProvider, 0xc7935180, 0x6fb3, 0x4201, 0xb1, 0x74, 0x7d, 0xf7, 0x3a, 0xdb, 0xf6, 0x4a);

static const char* controlTypeName(int id)
{
    static const char* const names[] = {
        "Button", "Calendar", "CheckBox", "ComboBox", "Edit", "Hyperlink", "Image",
        "ListItem", "List", "Menu", "MenuBar", "MenuItem", "ProgressBar", "RadioButton",
        "ScrollBar", "Slider", "Spinner", "StatusBar", "Tab", "TabItem", "Text", "ToolBar",
        "ToolTip", "Tree", "TreeItem", "Custom", "Group", "Thumb", "DataGrid", "DataItem",
        "Document", "SplitButton", "Window", "Pane", "Header", "HeaderItem", "Table",
        "TitleBar", "Separator", "SemanticZoom", "AppBar"};
    if (id >= 50000 && id < 50000 + (int)(sizeof names / sizeof *names))
        return names[id - 50000];
    return "?";
}

static const char* eventName(int id)
{
    static const char* const names[] = {
        "ToolTipOpened", "ToolTipClosed", "StructureChanged", "MenuOpened",
        "AutomationPropertyChanged", "AutomationFocusChanged", "AsyncContentLoaded",
        "MenuClosed", "LayoutInvalidated", "Invoke_Invoked",
        "SelectionItem_ElementAddedToSelection", "SelectionItem_ElementRemovedFromSelection",
        "SelectionItem_ElementSelected", "Selection_Invalidated", "Text_TextSelectionChanged",
        "Text_TextChanged", "Window_WindowOpened", "Window_WindowClosed", "MenuModeStart",
        "MenuModeEnd", "InputReachedTarget", "InputReachedOtherElement", "InputDiscarded",
        "SystemAlert", "LiveRegionChanged", "HostedFragmentRootsInvalidated",
        "Drag_DragStart", "Drag_DragCancel", "Drag_DragComplete", "DropTarget_DragEnter",
        "DropTarget_DragLeave", "DropTarget_Dropped", "TextEdit_TextChanged",
        "TextEdit_ConversionTargetChanged", "Changes", "Notification"};
    if (id >= 20000 && id < 20000 + (int)(sizeof names / sizeof *names))
        return names[id - 20000];
    return "?";
}

static const char* const kNotificationKinds[] = {"ItemAdded", "ItemRemoved", "ActionCompleted",
                                                  "ActionAborted", "Other"};
static const char* const kNotificationProcessings[] = {
    "ImportantAll", "ImportantMostRecent", "All", "MostRecent", "CurrentThenMostRecent"};

// One record line, built up in pieces and written at once.
static char g_line[65536];
static size_t g_length;

static void add(const char* text)
{
    while (*text && g_length + 1 < sizeof g_line)
        g_line[g_length++] = *text++;
    g_line[g_length] = 0;
}

static void addField(const char* text)
{
    if (g_length)
        add("\t");
    add(text);
}

static void addNumber(long number)
{
    char text[32];
    snprintf(text, sizeof text, "%ld", number);
    addField(text);
}

// Text in UTF-8, with tabs, line breaks and backslashes escaped.
static void appendText(const WCHAR* text, UINT length)
{
    if (!text)
        return;
    char buffer[4 * 4096 + 1];
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, (int)length, buffer, sizeof buffer - 1,
                                         NULL, NULL);
    for (int i = 0; i < size; ++i) {
        const char c = buffer[i];
        char escaped[3] = {c, 0, 0};
        if (c == '\t' || c == '\n' || c == '\r' || c == '\\') {
            escaped[0] = '\\';
            escaped[1] = c == '\t' ? 't' : c == '\n' ? 'n' : c == '\r' ? 'r' : '\\';
        }
        add(escaped);
    }
}

// A text field.
static void addText(const WCHAR* text, UINT length)
{
    addField("");
    appendText(text, length);
}

static void addBstr(BSTR text) { addText(text, text ? SysStringLen(text) : 0); }

static void writeLine(void)
{
    add("\n");
    const HANDLE file = CreateFileW(L"C:\\uia-record.txt", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, g_line, (DWORD)g_length, &written, NULL);
        CloseHandle(file);
    }
    g_length = 0;
    g_line[0] = 0;
}

static void addProperty(IRawElementProviderSimple* element, PROPERTYID property)
{
    VARIANT value;
    VariantInit(&value);
    if (element && SUCCEEDED(IRawElementProviderSimple_GetPropertyValue(element, property, &value))) {
        if (property == PROPERTY_CONTROL_TYPE)
            addField(value.vt == VT_I4 ? controlTypeName(value.lVal) : "-");
        else if (value.vt == VT_BSTR)
            addBstr(value.bstrVal);
        else
            addField("-");
    } else {
        addField("-");
    }
    VariantClear(&value);
}

// The control type and name of an element.
static void addElement(IRawElementProviderSimple* element)
{
    addProperty(element, PROPERTY_CONTROL_TYPE);
    addProperty(element, PROPERTY_NAME);
}

// The value of an element's Value pattern after "=", or "-" without one.
static void addValue(IRawElementProviderSimple* element)
{
    IUnknown* pattern = NULL;
    ValueProvider* value = NULL;
    BSTR text = NULL;
    if (SUCCEEDED(IRawElementProviderSimple_GetPatternProvider(element, PATTERN_VALUE, &pattern)) && pattern
        && SUCCEEDED(IUnknown_QueryInterface(pattern, &IID_ValueProvider, (void**)&value)) && value
        && SUCCEEDED(value->lpVtbl->get_Value(value, &text))) {
        addField("=");
        appendText(text, text ? SysStringLen(text) : 0);
    } else {
        addField("-");
    }
    SysFreeString(text);
    if (value)
        value->lpVtbl->Release(value);
    if (pattern)
        IUnknown_Release(pattern);
}

static void walk(IRawElementProviderFragment* fragment, int depth)
{
    IRawElementProviderSimple* element = NULL;
    if (FAILED(IRawElementProviderFragment_QueryInterface(fragment, &IID_IRawElementProviderSimple,
                                                          (void**)&element)))
        return;
    addField("tree");
    addNumber(depth);
    addElement(element);
    addProperty(element, PROPERTY_HELP_TEXT);
    addProperty(element, PROPERTY_FULL_DESCRIPTION);
    addValue(element);
    writeLine();
    IRawElementProviderSimple_Release(element);

    IRawElementProviderFragment* child = NULL;
    if (depth < 12 && SUCCEEDED(IRawElementProviderFragment_Navigate(fragment, NavigateDirection_FirstChild, &child))) {
        while (child) {
            walk(child, depth + 1);
            IRawElementProviderFragment* next = NULL;
            if (FAILED(IRawElementProviderFragment_Navigate(child, NavigateDirection_NextSibling, &next)))
                next = NULL;
            IRawElementProviderFragment_Release(child);
            child = next;
        }
    }
}

// The root provider of the last UiaRootObjectId request, kept as the real
// UI Automation core keeps it for its clients.
static IRawElementProviderSimple* g_root;

__declspec(dllexport) LRESULT WINAPI UiaReturnRawElementProvider(HWND hwnd, WPARAM wParam, LPARAM lParam,
                                                                 IRawElementProviderSimple* root)
{
    (void)wParam;
    if ((LONG)lParam != ROOT_OBJECT_ID || !root)
        return 0;
    IRawElementProviderSimple_AddRef(root);
    if (g_root)
        IRawElementProviderSimple_Release(g_root);
    g_root = root;

    WCHAR title[256];
    const int length = GetWindowTextW(hwnd, title, 256);
    addField("walk");
    addText(title, (UINT)length);
    writeLine();
    IRawElementProviderFragment* fragment = NULL;
    if (SUCCEEDED(IRawElementProviderSimple_QueryInterface(root, &IID_IRawElementProviderFragment,
                                                           (void**)&fragment))) {
        walk(fragment, 0);
        IRawElementProviderFragment_Release(fragment);
    }
    addField("end");
    writeLine();
    return 1;
}

__declspec(dllexport) HRESULT WINAPI UiaHostProviderFromHwnd(HWND hwnd, IRawElementProviderSimple** provider)
{
    (void)hwnd;
    if (provider)
        *provider = NULL;
    return S_OK;
}

__declspec(dllexport) HRESULT WINAPI UiaRaiseAutomationEvent(IRawElementProviderSimple* element, EVENTID id)
{
    addField("event");
    addField(eventName(id));
    addElement(element);
    writeLine();
    return S_OK;
}

static void addVariant(VARIANT value)
{
    if (value.vt == VT_BSTR) {
        addBstr(value.bstrVal);
    } else if (value.vt == VT_I4) {
        addNumber(value.lVal);
    } else if (value.vt == VT_R8) {
        char text[64];
        snprintf(text, sizeof text, "%g", value.dblVal);
        addField(text);
    } else {
        addField(value.vt == VT_EMPTY ? "(empty)" : "(other)");
    }
}

__declspec(dllexport) HRESULT WINAPI UiaRaiseAutomationPropertyChangedEvent(IRawElementProviderSimple* element,
                                                                            PROPERTYID property, VARIANT oldValue,
                                                                            VARIANT newValue)
{
    addField("property");
    addNumber(property);
    addElement(element);
    addVariant(oldValue);
    addVariant(newValue);
    writeLine();
    return S_OK;
}

__declspec(dllexport) HRESULT WINAPI UiaRaiseNotificationEvent(IRawElementProviderSimple* element, int kind,
                                                               int processing, BSTR text, BSTR activityId)
{
    addField("notification");
    addField(kind >= 0 && kind < 5 ? kNotificationKinds[kind] : "?");
    addField(processing >= 0 && processing < 5 ? kNotificationProcessings[processing] : "?");
    addElement(element);
    addBstr(text);
    addBstr(activityId);
    writeLine();
    return S_OK;
}

__declspec(dllexport) BOOL WINAPI UiaClientsAreListening(void) { return TRUE; }
