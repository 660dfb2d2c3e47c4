// The two functions that Microsoft's signtool.exe takes from MFC42.dll, which Windows ships in System32 and
// Wine does not: MFC's operator new and operator delete, exported by ordinal alone, as MFC42.dll exports
// them. Placed beside signtool.exe only where the system has no MFC42.dll, so that the real tool starts under
// Wine. Both use the C runtime's heap, which MFC's own operators use too.

#include <cstdlib>

extern "C" void* Mfc42OperatorNew(std::size_t size)
{
    return std::malloc(size == 0 ? 1 : size);
}

extern "C" void Mfc42OperatorDelete(void* block)
{
    std::free(block);
}
