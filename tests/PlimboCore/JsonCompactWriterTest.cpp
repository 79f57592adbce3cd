#include "JsonCompactWriter.h"
#include "JsonCoding.h"
#include "JsonPullReader.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>
#include <QRandomGenerator>

#include <limits>

using namespace plimbo;

namespace {

QByteArray written(const QString& text) {
    JsonCompactWriter writer(0);
    writer.string(text);
    return writer.take();
}

} // namespace

TEST(JsonCompactWriter, AgreesWithQJsonDocumentOnRandomText) {
    // Units from every class the writer treats differently, at every position of its
    // four-unit blocks.
    const QList<char16_t> pool{u'a',   u'Z',   u' ',   u'~',   u'"',  u'\\', u'/',
                               0x00,   0x1f,   0x7f,   0x80,   0xe9,  0x7ff, 0x800,
                               0x6771, 0xfffd, 0xd83d, 0xde00, 0xdbff};
    QRandomGenerator random(7);
    for (int i = 0; i < 300; ++i) {
        QString text;
        const int length = random.bounded(24);
        for (int j = 0; j < length; ++j) {
            text += QChar(pool.at(random.bounded(pool.size())));
        }
        const QByteArray bytes = written(text);
        ASSERT_EQ(bytes, json::toCompactBytes(QJsonValue(text))) << i;
        // And the reader gives back every unit, unpaired surrogates included.
        JsonPullReader reader(bytes);
        EXPECT_EQ(reader.string(), text) << i;
    }
}

TEST(JsonCompactWriter, WritesObjectsAsQJsonDocumentDoes) {
    const QUuid id = QUuid::fromString(QStringLiteral("e621e1f8-c36c-495a-93fc-0c247a3e6e5f"));
    const QList<double> numbers{0, 1.5, -1, 786276000.123456, 0.1, 1e300, -2.5e-3};
    JsonCompactWriter writer(0);
    writer.raw('{');
    writer.key("big", true);
    writer.integer(std::numeric_limits<qint64>::max());
    writer.key("id");
    writer.uuid(id);
    writer.key("numbers");
    writer.raw('[');
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        if (i > 0) {
            writer.raw(',');
        }
        writer.number(numbers.at(i));
    }
    writer.raw(']');
    writer.key("small");
    writer.integer(-5);
    writer.raw('}');

    QJsonArray array;
    for (const double number : numbers) {
        array.append(number);
    }
    const QJsonObject object{{"big", std::numeric_limits<qint64>::max()},
                             {"id", json::fromUuid(id)},
                             {"numbers", array},
                             {"small", -5}};
    EXPECT_EQ(writer.take(), json::toCompactBytes(object));
}
