#include "common/SystemText.h"

#include <cerrno>

namespace paysum {

QString SystemErrorText(int error) {
    switch (error) {
        case ENOENT:
            return QStringLiteral("沒有這個檔案或資料夾");
        case ENOTDIR:
            return QStringLiteral("路徑中有一項不是資料夾");
        case EISDIR:
            return QStringLiteral("是資料夾，不是檔案");
        case EACCES:
        case EPERM:
            return QStringLiteral("沒有權限");
        case EROFS:
            return QStringLiteral("磁碟只能讀取");
        case ENOSPC:
        case EDQUOT:
            return QStringLiteral("磁碟空間不足");
        case EFBIG:
            return QStringLiteral("檔案超過系統允許的大小");
        case ENAMETOOLONG:
            return QStringLiteral("檔名太長");
        case ELOOP:
            return QStringLiteral("符號連結太多層");
        case EIO:
            return QStringLiteral("磁碟讀寫錯誤");
        case EBUSY:
        case ETXTBSY:
            return QStringLiteral("檔案正在使用中");
        case EMFILE:
        case ENFILE:
            return QStringLiteral("開啟的檔案太多");
        case ENOMEM:
            return QStringLiteral("記憶體不足");
        case EXDEV:
            return QStringLiteral("不在同一個磁碟上");
        default:
            return QStringLiteral("系統錯誤碼 %1").arg(error);
    }
}

}  // namespace paysum
