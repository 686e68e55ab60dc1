// The class library's exception classes. Each carries its message as UTF-16 text; what()
// gives the same text in UTF-8. Messages of the library's own errors are built by the unit
// that raises them, with the exact texts of the class library.
#pragma once

#include "platform/rtl/System.h"

#include <exception>
#include <string>

namespace rtl {

class Exception : public std::exception {
public:
    explicit Exception(UnicodeString message);
    explicit Exception(std::string_view utf8Message);

    const UnicodeString &Message() const noexcept { return FMessage; }
    void SetMessage(UnicodeString message);
    const char *what() const noexcept override { return FUtf8.c_str(); }

private:
    UnicodeString FMessage;
    std::string FUtf8;
};

#define RTL_EXCEPTION(Name, Base)                                                                  \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        using Base::Base;                                                                          \
    };

RTL_EXCEPTION(EAbort, Exception)
RTL_EXCEPTION(EAbstractError, Exception)
RTL_EXCEPTION(EConvertError, Exception)
RTL_EXCEPTION(EListError, Exception)
RTL_EXCEPTION(EStringListError, Exception)
RTL_EXCEPTION(EStreamError, Exception)
RTL_EXCEPTION(EFileStreamError, EStreamError)
RTL_EXCEPTION(EFOpenError, EFileStreamError)
RTL_EXCEPTION(EFCreateError, EFileStreamError)
RTL_EXCEPTION(EFilerError, EStreamError)
RTL_EXCEPTION(EReadError, EFilerError)
RTL_EXCEPTION(EWriteError, EFilerError)
RTL_EXCEPTION(EClassNotFound, EFilerError)
RTL_EXCEPTION(EComponentError, Exception)
RTL_EXCEPTION(EInOutError, Exception)
RTL_EXCEPTION(EOSError, Exception)
RTL_EXCEPTION(EOutOfMemory, Exception)
RTL_EXCEPTION(EIntError, Exception)
RTL_EXCEPTION(EDivByZero, EIntError)
RTL_EXCEPTION(ERangeError, EIntError)
RTL_EXCEPTION(EIntOverflow, EIntError)
RTL_EXCEPTION(EMathError, Exception)
RTL_EXCEPTION(EInvalidOp, EMathError)
RTL_EXCEPTION(EZeroDivide, EMathError)
RTL_EXCEPTION(EOverflow, EMathError)
RTL_EXCEPTION(EInvalidCast, Exception)
RTL_EXCEPTION(EInvalidPointer, Exception)
RTL_EXCEPTION(EInvalidOperation, Exception)
RTL_EXCEPTION(EArgumentException, Exception)
RTL_EXCEPTION(EArgumentOutOfRangeException, EArgumentException)
RTL_EXCEPTION(ENotSupportedException, Exception)
RTL_EXCEPTION(EEncodingError, Exception)
RTL_EXCEPTION(EIniFileException, Exception)

#undef RTL_EXCEPTION

} // namespace rtl
