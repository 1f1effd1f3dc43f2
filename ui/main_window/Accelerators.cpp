#include "ui/main_window/Accelerators.h"

#include "ui/main_window/MainWindow.h"

#include <iterator>

// One table for the whole run; the system frees it with the process.
HACCEL MainAccelerators() {
    static const HACCEL table = [] {
        ACCEL keys[] = {
            {FCONTROL | FVIRTKEY, 'O', idFileOpenItem},
            {FCONTROL | FVIRTKEY, 'S', idFileSaveItem},
            {FVIRTKEY, VK_F12, idFileSaveAsItem},
            {FCONTROL | FVIRTKEY, 'P', idFilePrintItem},
            {FVIRTKEY, VK_F5, idsbStart},
        };
        return CreateAcceleratorTableA(keys, static_cast<int>(std::size(keys)));
    }();
    return table;
}
