#include "ui/controls/GridAccessible.h"

#include "system/SystemFunction.h"
#include "ui/controls/StringGrid.h"

#include <string>

namespace {

// The parts of IAccessible that the table and its rows answer alike: reference counting, no
// scripting (IDispatch), and no actions.
class AccessibleBase : public IAccessible {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&References); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&References);
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        *value = nullptr;
        return NothingFor(child);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        *text = nullptr;
        return NothingFor(child);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
        *text = nullptr;
        return NothingFor(child);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        *file = nullptr;
        *topic = 0;
        return NothingFor(child);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        *keys = nullptr;
        return NothingFor(child);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        *action = nullptr;
        return NothingFor(child);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT child) override { return Unsupported(child); }
    HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT child, VARIANT* end) override {
        end->vt = VT_EMPTY;
        return Unsupported(child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return Unsupported(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR) override {
        const HRESULT asked = Check(child);
        return FAILED(asked) ? asked : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR) override {
        const HRESULT asked = Check(child);
        return FAILED(asked) ? asked : E_NOTIMPL;
    }

  protected:
    virtual ~AccessibleBase() = default;
    // The grid while it exists, and how many children this object has.
    virtual const TStringGrid* Attached() const = 0;
    virtual long Children() const = 0;

    // Whether a question about this child can be answered: not once the grid is gone, and not
    // for a child that does not exist.
    HRESULT Check(const VARIANT& child) const {
        if (!Attached())
            return RPC_E_DISCONNECTED;
        if (child.vt != VT_I4 || child.lVal < CHILDID_SELF || child.lVal > Children())
            return E_INVALIDARG;
        return S_OK;
    }
    HRESULT NothingFor(const VARIANT& child) const {
        const HRESULT asked = Check(child);
        return FAILED(asked) ? asked : S_FALSE;
    }
    HRESULT Unsupported(const VARIANT& child) const {
        const HRESULT asked = Check(child);
        return FAILED(asked) ? asked : DISP_E_MEMBERNOTFOUND;
    }
    // For the questions that name no child.
    HRESULT CheckAttached() const { return Attached() ? S_OK : RPC_E_DISCONNECTED; }

    static HRESULT Text(const std::string& text, BSTR* out) {
        const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
        static const SystemFunction<decltype(&SysAllocStringLen)> allocate("oleaut32.dll",
                                                                           "SysAllocStringLen");
        *out = allocate.Get() ? allocate.Get()(nullptr, length > 0 ? length - 1 : 0) : nullptr;
        if (!*out)
            return E_OUTOFMEMORY;
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, *out, length);
        return S_OK;
    }
    static bool IsSelf(const VARIANT& child) {
        return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
    }
    static void Location(HWND window, RECT r, long* left, long* top, long* width, long* height) {
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
    }

  private:
    LONG References = 1;
};

class TableAccessible;

// One row: its cells are simple children, 1 to 6 from the left.
class RowAccessible : public AccessibleBase {
  public:
    RowAccessible(TableAccessible& table, int row);

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        *count = 0;
        const HRESULT asked = CheckAttached();
        if (asked == S_OK)
            *count = Children();
        return asked;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** cell) override {
        *cell = nullptr;
        return NothingFor(child);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        focus->vt = VT_EMPTY;
        return CheckAttached() == S_OK ? S_FALSE : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        selection->vt = VT_EMPTY;
        return CheckAttached() == S_OK ? S_FALSE : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* at) override;

  private:
    ~RowAccessible() override;
    const TStringGrid* Attached() const override;
    long Children() const override { return TStringGrid::ColCount; }
    TableAccessible& Table;
    const int Row;
};

// The grid itself: its children are the rows, 1 (the headings) to 10.
class TableAccessible : public AccessibleBase {
  public:
    explicit TableAccessible(const TStringGrid& grid) : Grid(&grid) {}
    void Detach() { Grid = nullptr; }
    const TStringGrid* Attached() const override { return Grid; }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        *parent = nullptr;
        if (!Grid)
            return RPC_E_DISCONNECTED;
        static const SystemFunction<decltype(&AccessibleObjectFromWindow)> fromWindow(
            "oleacc.dll", "AccessibleObjectFromWindow");
        if (!fromWindow.Get())
            return E_FAIL;
        return fromWindow.Get()(Grid->Handle, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        *count = 0;
        const HRESULT asked = CheckAttached();
        if (asked == S_OK)
            *count = Children();
        return asked;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** row) override {
        *row = nullptr;
        const HRESULT asked = Check(child);
        if (asked != S_OK)
            return asked;
        if (IsSelf(child))
            return E_INVALIDARG;
        *row = new RowAccessible(*this, child.lVal - 1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        *name = nullptr;
        const HRESULT asked = Check(child);
        if (asked != S_OK)
            return asked;
        if (IsSelf(child))
            return Text("measurements", name);
        return RowQuestion(
            child, [&](IAccessible& row, VARIANT self) { return row.get_accName(self, name); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        role->vt = VT_EMPTY;
        const HRESULT asked = Check(child);
        if (asked != S_OK)
            return asked;
        role->vt = VT_I4;
        role->lVal = IsSelf(child) ? ROLE_SYSTEM_TABLE : ROLE_SYSTEM_ROW;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        state->vt = VT_EMPTY;
        const HRESULT asked = Check(child);
        if (asked != S_OK)
            return asked;
        if (!IsSelf(child))
            return RowQuestion(child, [&](IAccessible& row, VARIANT self) {
                return row.get_accState(self, state);
            });
        state->vt = VT_I4;
        state->lVal = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_READONLY |
                      (GetFocus() == Grid->Handle ? STATE_SYSTEM_FOCUSED : 0);
        return S_OK;
    }
    // The selected row has the focus while the grid has it.
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        focus->vt = VT_EMPTY;
        if (!Grid)
            return RPC_E_DISCONNECTED;
        if (GetFocus() != Grid->Handle)
            return S_FALSE;
        return SelectedRow(focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        selection->vt = VT_EMPTY;
        if (!Grid)
            return RPC_E_DISCONNECTED;
        return SelectedRow(selection);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        const HRESULT asked = Check(child);
        if (asked != S_OK)
            return asked;
        if (!IsSelf(child))
            return RowQuestion(child, [&](IAccessible& row, VARIANT self) {
                return row.accLocation(left, top, width, height, self);
            });
        RECT client;
        GetClientRect(Grid->Handle, &client);
        Location(Grid->Handle, client, left, top, width, height);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* at) override {
        at->vt = VT_EMPTY;
        if (!Grid)
            return RPC_E_DISCONNECTED;
        POINT point{x, y};
        ScreenToClient(Grid->Handle, &point);
        RECT client;
        GetClientRect(Grid->Handle, &client);
        if (!PtInRect(&client, point))
            return S_FALSE;
        for (int r = 0; r < TStringGrid::RowCount; ++r) {
            const RECT first = Grid->CellRect(0, r);
            if (point.y >= first.top && point.y < first.bottom) {
                at->vt = VT_DISPATCH;
                at->pdispVal = new RowAccessible(*this, r);
                return S_OK;
            }
        }
        at->vt = VT_I4;
        at->lVal = CHILDID_SELF;
        return S_OK;
    }

  private:
    long Children() const override { return TStringGrid::RowCount; }
    HRESULT SelectedRow(VARIANT* out) {
        out->vt = VT_DISPATCH;
        out->pdispVal = new RowAccessible(*this, Grid->Row());
        return S_OK;
    }
    // Asks the row a question about itself.
    template <class Question> HRESULT RowQuestion(VARIANT child, Question ask) {
        IDispatch* row = nullptr;
        const HRESULT found = get_accChild(child, &row);
        if (found != S_OK)
            return found;
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        const HRESULT answer =
            ask(*static_cast<IAccessible*>(static_cast<RowAccessible*>(row)), self);
        row->Release();
        return answer;
    }

    const TStringGrid* Grid;
};

RowAccessible::RowAccessible(TableAccessible& table, int row) : Table(table), Row(row) {
    Table.AddRef();
}

RowAccessible::~RowAccessible() {
    Table.Release();
}

const TStringGrid* RowAccessible::Attached() const {
    return Table.Attached();
}

HRESULT RowAccessible::get_accParent(IDispatch** parent) {
    *parent = nullptr;
    const HRESULT asked = CheckAttached();
    if (asked != S_OK)
        return asked;
    Table.AddRef();
    *parent = &Table;
    return S_OK;
}

// A row of data by its record and content, as the system's lists name their rows: its heading
// and readings each after its column's title, then its date and time as their cells show them.
// An empty cell says nothing.
std::string RowName(const TStringGrid& grid, int row) {
    std::string name;
    const auto add = [&name](const std::string& part) {
        if (part.empty())
            return;
        if (!name.empty())
            name += ", ";
        name += part;
    };
    const auto joined = [](const std::string& first, const std::string& second) {
        return first.empty() || second.empty() ? first + second : first + " " + second;
    };
    for (const int col : {0, 3, 4, 5}) {
        if (!grid.Cells(col, row).empty())
            add(joined(grid.Cells(col, 0), grid.Cells(col, row)));
    }
    add(joined(grid.Cells(1, row), grid.Cells(2, row)));
    return name;
}

// A cell is named by its text.
HRESULT RowAccessible::get_accName(VARIANT child, BSTR* name) {
    *name = nullptr;
    const HRESULT asked = Check(child);
    if (asked != S_OK)
        return asked;
    const TStringGrid& grid = *Attached();
    if (IsSelf(child))
        return Text(Row == 0 ? std::string("headings") : RowName(grid, Row), name);
    return Text(grid.Cells(child.lVal - 1, Row), name);
}

HRESULT RowAccessible::get_accRole(VARIANT child, VARIANT* role) {
    role->vt = VT_EMPTY;
    const HRESULT asked = Check(child);
    if (asked != S_OK)
        return asked;
    role->vt = VT_I4;
    if (IsSelf(child))
        role->lVal = ROLE_SYSTEM_ROW;
    else if (Row == 0)
        role->lVal = ROLE_SYSTEM_COLUMNHEADER;
    else if (child.lVal == 1)
        role->lVal = ROLE_SYSTEM_ROWHEADER;
    else
        role->lVal = ROLE_SYSTEM_CELL;
    return S_OK;
}

HRESULT RowAccessible::get_accState(VARIANT child, VARIANT* state) {
    state->vt = VT_EMPTY;
    const HRESULT asked = Check(child);
    if (asked != S_OK)
        return asked;
    const TStringGrid& grid = *Attached();
    long flags = STATE_SYSTEM_READONLY;
    if (Row > 0 && IsSelf(child)) {
        flags |= STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        if (grid.Row() == Row) {
            flags |= STATE_SYSTEM_SELECTED;
            if (GetFocus() == grid.Handle)
                flags |= STATE_SYSTEM_FOCUSED;
        }
    } else if (Row > 0 && grid.Row() == Row) {
        flags |= STATE_SYSTEM_SELECTED;
    }
    state->vt = VT_I4;
    state->lVal = flags;
    return S_OK;
}

HRESULT RowAccessible::accLocation(long* left, long* top, long* width, long* height,
                                   VARIANT child) {
    const HRESULT asked = Check(child);
    if (asked != S_OK)
        return asked;
    const TStringGrid& grid = *Attached();
    RECT r;
    if (IsSelf(child)) {
        r = grid.CellRect(0, Row);
        r.right = grid.CellRect(TStringGrid::ColCount - 1, Row).right;
    } else {
        r = grid.CellRect(child.lVal - 1, Row);
    }
    Location(grid.Handle, r, left, top, width, height);
    return S_OK;
}

HRESULT RowAccessible::accHitTest(long x, long y, VARIANT* at) {
    at->vt = VT_EMPTY;
    const TStringGrid* grid = Attached();
    if (!grid)
        return RPC_E_DISCONNECTED;
    POINT point{x, y};
    ScreenToClient(grid->Handle, &point);
    for (int c = 0; c < TStringGrid::ColCount; ++c) {
        const RECT cell = grid->CellRect(c, Row);
        if (PtInRect(&cell, point)) {
            at->vt = VT_I4;
            at->lVal = c + 1;
            return S_OK;
        }
    }
    return S_FALSE;
}

} // namespace

IAccessible* CreateGridAccessible(const TStringGrid& grid) {
    return new TableAccessible(grid);
}

void DetachGridAccessible(IAccessible* accessible) {
    static_cast<TableAccessible*>(accessible)->Detach();
}
