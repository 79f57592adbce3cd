#pragma once

#include "FileRevealer.h"

#include <QPromise>

namespace plimbo {

// Records each request and answers at once with `outcome`.
class FakeFileRevealer final : public FileRevealer {
public:
    QList<QList<QUrl>> requests;
    RevealOutcome outcome = RevealOutcome::shownInFileManager;

    QFuture<RevealOutcome> reveal(const QList<QUrl>& files) override {
        requests.append(files);
        QPromise<RevealOutcome> promise;
        promise.start();
        promise.addResult(outcome);
        promise.finish();
        return promise.future();
    }
};

} // namespace plimbo
