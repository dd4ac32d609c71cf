// The memory dumps of the Service menu: both open the dump window over a
// buffer of the memory's size, which goes once the window has closed.
#include <new>

#include "MemoryDump.h"
#include "TForm1.h"
#include "TMemForm.h"
#include "Vextora.h"

namespace vextora {

namespace {

void DumpMemoryInWindow(std::uint8_t kind) {
    const DumpMemory& memory = DumpMemoryOf(kind);
    MemForm->setWindowTitle(QString::fromLatin1(memory.caption));
    DumpKind = kind;
    try {
        DumpBuffer.assign(memory.Bytes(), 0);
    } catch (const std::bad_alloc&) {
        qmr::ui::MessageBox(QStringLiteral("Can't allocate memory"), QStringLiteral("Error"), qmr::MbOk);
        return;
    }
    qmr::ui::ShowModal(*MemForm);
    DumpBuffer.clear();
    DumpBuffer.shrink_to_fit();
    DumpLength = 0;
}

}  // namespace

void TForm1::ReadFMMClick() { DumpMemoryInWindow(FiscalMemoryDump); }

void TForm1::ReadCodeMMClick() { DumpMemoryInWindow(FirmwareDump); }

}  // namespace vextora
