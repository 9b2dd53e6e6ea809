#include "app/photo_making.h"

#include <QThread>

#include <exception>

namespace vexa {

using authoring::MakeFailure;

QString MakeFailureText(MakeFailure failure) {
    switch (failure) {
    case MakeFailure::None:
    case MakeFailure::Cancelled: return {};
    case MakeFailure::Unreadable: return QStringLiteral("写真を読み込めません。画像ファイルを選んでください");
    case MakeFailure::TooSmall: return QStringLiteral("写真が小さすぎて問題を作れません");
    case MakeFailure::TooFlat:
        return QStringLiteral("写真の模様や明暗が少なすぎて、見つけられる間違いを作れません");
    case MakeFailure::BadOption: break;
    }
    return QStringLiteral("この写真からは問題を作れません");
}

TPhotoMaking::TPhotoMaking(TPuzzleMaker maker, std::string photoPath, const authoring::MakeOptions& options,
                           QObject* parent)
    : QObject(parent), Maker_(std::move(maker)), PhotoPath_(std::move(photoPath)), Options_(options) {}

TPhotoMaking::~TPhotoMaking() {
    Cancel();
    Wait();
    delete Thread_;
}

void TPhotoMaking::Start() {
    if (Thread_) return;
    // The thread touches only this object's maker, inputs, result and counters.
    Thread_ = QThread::create([this] {
        const authoring::MakeProgress progress = [this](int percent) {
            Percent_ = percent;
            return !Cancelled_;
        };
        try {
            if (Maker_) Result_ = Maker_(PhotoPath_, Options_, progress);
            else Result_.failure = MakeFailure::BadOption;
        } catch (const std::exception& e) {
            // Out of memory or a library's refusal: the photo cannot be used.
            Result_ = {};
            Result_.failure = MakeFailure::BadOption;
            Result_.detail = e.what();
        }
        if (Cancelled_) Result_.failure = MakeFailure::Cancelled;
    });
    // Queued to this object, so that a deleted object gets no late signal.
    connect(Thread_, &QThread::finished, this, &TPhotoMaking::Finished, Qt::QueuedConnection);
    Thread_->start();
}

void TPhotoMaking::Wait() {
    if (Thread_) Thread_->wait();
}

}  // namespace vexa
