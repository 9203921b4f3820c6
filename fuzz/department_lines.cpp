// "depts.txt" (one department a line) and "DeptCourant.txt" (the one shown first).
#include "core/db/program_folder.h"
#include "core/postal/postal_directory.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    fuzz::put(QStringLiteral("depts.txt"), bytes);
    fuzz::put(QStringLiteral("DeptCourant.txt"), bytes);
    (void)tb::readDepartments(fuzz::folder());
    (void)tb::currentDepartment(fuzz::folder());
    return 0;
}
