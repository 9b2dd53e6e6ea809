// 写真から問題を作る's work: one MakePuzzle call on a worker thread, so that
// the window stays responsive, and the player's words for what came of it.
#pragma once

#include "authoring/make_puzzle.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <string>

class QThread;

namespace vexa {

inline const QString kMsgMadeNotWritten =
    QStringLiteral("作った問題を保存できません。フォルダ %1 をチェックしてください");
// In the message field when the photo held fewer fair differences than asked.
inline const QString kMadeFewerFormat = QStringLiteral("この写真では間違いを%1個しか作れませんでした");

// The box for a photo that could not be used; empty for None and Cancelled,
// which show nothing.
QString MakeFailureText(authoring::MakeFailure failure);

// The maker's signature: vexa::authoring::MakePuzzle, or a test's own.
using TPuzzleMaker = std::function<authoring::MakeResult(const std::string& photoPath,
                                                         const authoring::MakeOptions& options,
                                                         const authoring::MakeProgress& progress)>;

class TPhotoMaking : public QObject {
    Q_OBJECT
public:
    TPhotoMaking(TPuzzleMaker maker, std::string photoPath, const authoring::MakeOptions& options,
                 QObject* parent = nullptr);
    // Cancels the work and waits for it: the thread never outlives the object.
    ~TPhotoMaking() override;

    void Start();
    // The maker's next progress report stops it.
    void Cancel() { Cancelled_ = true; }
    bool Cancelled() const { return Cancelled_; }
    // Blocks until the work has ended.
    void Wait();

    int Percent() const { return Percent_; }
    const std::string& PhotoPath() const { return PhotoPath_; }
    const authoring::MakeOptions& Options() const { return Options_; }
    // What the maker returned; valid once Finished was emitted.
    authoring::MakeResult& Result() { return Result_; }

signals:
    // On the object's own thread, after the work has ended.
    void Finished();

private:
    TPuzzleMaker Maker_;
    std::string PhotoPath_;
    authoring::MakeOptions Options_;
    authoring::MakeResult Result_;
    std::atomic<bool> Cancelled_{false};
    std::atomic<int> Percent_{0};
    QThread* Thread_ = nullptr;
};

}  // namespace vexa
