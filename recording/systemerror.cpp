#include "systemerror.h"

#include <cerrno>
#include <cstring>

QString SystemError::lastText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}
