#include "resfile/ResErrors.h"

namespace zelvane {

const char* ResErrorText(int32_t code)
{
    switch (code) {
    case kResOk: return "no error";
    case kErrChunkMismatch: return "chunk header does not match the resource index";
    case kErrCannotDelete: return "file could not be deleted";
    case kErrDeleteMissing: return "file to delete does not exist";
    case kErrCannotCreate: return "file could not be created";
    case kErrCreateExists: return "file already exists";
    case kErrNotWritable: return "container is not writable";
    case kErrShortWrite: return "fewer bytes written than asked";
    case kErrAlreadyOpen: return "container already open";
    case kErrShortRead: return "fewer bytes read than asked, or seek beyond the end of the file";
    case kErrNotOpen: return "container not open";
    case kErrCannotOpen: return "file cannot be opened, or operation not supported";
    case kErrAttrUnsupported: return "attribute not supported";
    case kErrNoFilterAdmits: return "no member accepts this resource type";
    case kErrNotIff: return "not an IFF container (header or version)";
    case kErrNoWritableMember: return "no writable member";
    case kErrNotAvailable: return "operation not available in this container kind";
    case kErrBadLayout: return "resource data in a layout that cannot be read";
    case kErrNoSuchResource: return "no such resource";
    case kErrNoSuchName: return "no such resource name or handle";
    case kErrTypeIndexRange: return "type index out of range";
    case kErrNoCompactionMemory: return "out of memory for the compaction buffer";
    case kErrNoMember: return "no member container could be created or opened";
    default: return "unknown error";
    }
}

} // namespace zelvane
