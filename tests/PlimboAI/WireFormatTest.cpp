#include "AITestPrinters.h"
#include "ChatRequestBody.h"
#include "ChatResponseBody.h"
#include "ErrorEnvelope.h"
#include "JsonCoding.h"
#include "JsonDecodingError.h"
#include "ModelListResponse.h"
#include "OpenRouterError.h"
#include "StreamChunk.h"
#include "WireEncodingError.h"

#include <QJsonArray>
#include <QSet>

#include <gtest/gtest.h>

#include <cmath>

using namespace plimbo;

namespace {

QStringList sortedKeys(const QJsonObject& object) {
    QStringList keys = object.keys();
    keys.sort();
    return keys;
}

TEST(WireFormatTest, ChatRequestBodyWritesOnlyWhatIsSet) {
    ChatRequestBody body;
    body.model = "openrouter/auto";
    body.messages = {AIMessage(AIMessage::Role::user, "Hi")};
    EXPECT_EQ(sortedKeys(body.toJson()), QStringList({"messages", "model", "stream"}));
    EXPECT_EQ(body.toJson().value("stream"), QJsonValue(false));

    body.stream = true;
    body.temperature = 0.4;
    EXPECT_EQ(sortedKeys(body.toJson()),
              QStringList({"messages", "model", "stream", "temperature"}));
    const QByteArray bytes = json::toCompactBytes(body.toJson());
    EXPECT_TRUE(bytes.contains("\"temperature\":0.4")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\"stream\":true"));

    body.maxTokens = 512;
    body.plugins = ChatRequestBody::fileParserPlugins();
    const QByteArray full = json::toCompactBytes(body.toJson());
    EXPECT_TRUE(full.contains("\"max_tokens\":512")) << full.toStdString();
    EXPECT_TRUE(
        full.contains(R"("plugins":[{"id":"file-parser","pdf":{"engine":"cloudflare-ai"}}])") ||
        full.contains(R"("plugins":[{"pdf":{"engine":"cloudflare-ai"},"id":"file-parser"}])"))
        << full.toStdString();
}

TEST(WireFormatTest, NonFiniteTemperatureCannotBeWritten) {
    for (double value : {std::nan(""), double(INFINITY), -double(INFINITY)}) {
        ChatRequestBody body;
        body.temperature = value;
        EXPECT_THROW(body.toJson(), WireEncodingError);
    }
}

struct ChunkCase {
    const char* json;
    bool reads;
};

TEST(WireFormatTest, StreamChunkReadingIsStrict) {
    const ChunkCase cases[] = {
        {R"({"choices":[],"usage":{"prompt_tokens":1}})", true},
        {R"({"choices":[{"delta":{}}]})", true},
        {R"({"choices":[{"delta":{"content":null},"finish_reason":null}],"usage":null,"model":null})",
         true},
        {R"({"choices":[{"delta":{}}],"unknown":[1,{"x":null}]})", true},
        {R"({"model":"m"})", false},
        {R"({"choices":null})", false},
        {R"({"choices":[{}]})", false},
        {R"({"choices":[{"delta":null}]})", false},
        {R"({"choices":[{"delta":{"content":["a"]}}]})", false},
        {R"({"choices":[{"delta":{"content":{"a":1}}}]})", false},
        {R"({"choices":[{"delta":{}}, 5]})", false},
        {R"({"choices":[{"delta":{},"finish_reason":1}]})", false},
        {R"({"choices":[],"usage":{"total_tokens":"3"}})", false},
        {R"({"choices":[],"usage":{"total_tokens":3.5}})", false},
        {R"({"choices":[],"model":7})", false},
        {R"({"choices":[],"error":"boom"})", false},
        {R"([])", false},
        {R"("text")", false},
        {"", false},
    };
    for (const ChunkCase& item : cases) {
        SCOPED_TRACE(item.json);
        if (item.reads) {
            EXPECT_NO_THROW(StreamChunk::fromJsonBytes(item.json));
        } else {
            EXPECT_THROW(StreamChunk::fromJsonBytes(item.json), JsonDecodingError);
        }
    }
}

TEST(WireFormatTest, StreamChunkFields) {
    const StreamChunk chunk = StreamChunk::fromJsonBytes(
        R"({"model":"m","choices":[{"delta":{"content":"a"},"finish_reason":"stop"},{"delta":{}}],)"
        R"("usage":{},"error":{"code":1}})");
    EXPECT_EQ(chunk.model, QStringLiteral("m"));
    ASSERT_EQ(chunk.choices.size(), 2);
    EXPECT_EQ(chunk.choices[0].delta.content, QStringLiteral("a"));
    EXPECT_EQ(chunk.choices[0].finishReason, QStringLiteral("stop"));
    EXPECT_FALSE(chunk.choices[1].delta.content.has_value());
    ASSERT_TRUE(chunk.usage.has_value());
    EXPECT_EQ(chunk.usage->toAIUsage(), AIUsage{});
    ASSERT_TRUE(chunk.error.has_value());
    EXPECT_FALSE(chunk.error->message.has_value());
}

TEST(WireFormatTest, ChatResponseBodyNeedsIdAndModel) {
    const ChatResponseBody body = ChatResponseBody::fromJsonBytes(
        R"({"id":"a","model":"m","choices":[],"usage":{"completion_tokens":2}})");
    EXPECT_TRUE(body.choices.isEmpty());
    EXPECT_EQ(body.usage->toAIUsage(), (AIUsage{std::nullopt, 2, std::nullopt}));
    const char* failing[] = {
        R"({"model":"m","choices":[{"message":{"content":"x"}}]})",
        R"({"id":"a","choices":[{"message":{"content":"x"}}]})",
        R"({"id":"a","model":"m"})",
        R"({"id":"a","model":"m","choices":[{"finish_reason":"stop"}]})",
        R"({"id":1,"model":"m","choices":[]})",
    };
    for (const char* json : failing) {
        SCOPED_TRACE(json);
        EXPECT_THROW(ChatResponseBody::fromJsonBytes(json), JsonDecodingError);
    }
}

TEST(WireFormatTest, ErrorEnvelopeMessage) {
    struct Case {
        const char* body;
        std::optional<QString> message;
    };
    const Case cases[] = {
        {R"({"error":{"message":"bad","code":400}})", QStringLiteral("bad")},
        {R"({})", std::nullopt},
        {R"({"error":null})", std::nullopt},
        {R"({"error":{}})", std::nullopt},
        {R"({"error":{"message":5}})", std::nullopt},
        {"not json", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.body);
        EXPECT_EQ(ErrorEnvelope::messageIn(item.body), item.message);
    }
    EXPECT_FALSE(ErrorEnvelope::fromJson(json::parseBytes("{}")).error.has_value());
    EXPECT_TRUE(ErrorEnvelope::fromJson(json::parseBytes(R"({"error":{}})")).error.has_value());
}

OpenRouterModel model(const QByteArray& json) {
    return OpenRouterModel::fromJson(json::parseBytes(json));
}

TEST(WireFormatTest, CatalogueReadingIsStrictAndRoundTrips) {
    const QByteArray catalogue =
        R"({"data":[{"id":"a/b","name":"B","context_length":128000,)"
        R"("architecture":{"input_modalities":["text","image"],"output_modalities":["text"]},)"
        R"("pricing":{"prompt":"0.000001","completion":"0.000002"},"top_provider":{}},)"
        R"({"id":"c","name":"C","pricing":null,"architecture":{}}]})";
    const ModelListResponse response = ModelListResponse::fromJsonBytes(catalogue);
    ASSERT_EQ(response.data.size(), 2);
    EXPECT_EQ(response.data[0].contextLength(), 128000);
    EXPECT_EQ(response.data[0].pricing()->completion(), QStringLiteral("0.000002"));
    EXPECT_FALSE(response.data[1].pricing().has_value());
    EXPECT_FALSE(response.data[1].architecture()->inputModalities().has_value());
    EXPECT_EQ(ModelListResponse::fromJson(response.toJson()).data, response.data);

    const char* failing[] = {
        R"({"data":[{"id":"a","name":"A","pricing":{"prompt":0}}]})",
        R"({"data":[{"id":"a","name":"A","context_length":"8k"}]})",
        R"({"data":[{"id":"a","name":"A"},{"id":"b"}]})",
        R"({"data":[{"id":"a","name":"A","architecture":{"input_modalities":["text",1]}}]})",
        R"({"data":null})",
        R"({"models":[]})",
    };
    for (const char* json : failing) {
        SCOPED_TRACE(json);
        EXPECT_THROW(ModelListResponse::fromJsonBytes(json), JsonDecodingError);
    }
}

TEST(WireFormatTest, ModelDerivedProperties) {
    struct ProviderCase {
        const char* id;
        const char* provider;
    };
    const ProviderCase providers[] = {
        {"openai/gpt-4o", "openai"},
        {"a/b/c", "a"},
        {"/x/y", "x"},
        {"a//b", "a"},
        {"solo", "solo"},
        {"", "Other"},
        {"///", "Other"},
    };
    for (const ProviderCase& item : providers) {
        SCOPED_TRACE(item.id);
        EXPECT_EQ(model(QByteArray(R"({"name":"n","id":")") + item.id + "\"}").provider(),
                  item.provider);
    }

    struct FlagCase {
        const char* json;
        bool value;
    };
    const FlagCase vision[] = {
        {R"({"id":"a","name":"n","architecture":{"input_modalities":["text","image"]}})", true},
        {R"({"id":"a","name":"n","architecture":{"input_modalities":["Image"]}})", false},
        {R"({"id":"a","name":"n","architecture":{"output_modalities":["image"]}})", false},
        {R"({"id":"a","name":"n","architecture":{}})", false},
        {R"({"id":"a","name":"n"})", false},
    };
    for (const FlagCase& item : vision) {
        SCOPED_TRACE(item.json);
        EXPECT_EQ(model(item.json).supportsVision(), item.value);
    }
    const FlagCase free[] = {
        {R"({"id":"a:free","name":"n","pricing":{"prompt":"1","completion":"1"}})", true},
        {R"({"id":"a:FREE","name":"n"})", false},
        {R"({"id":"a","name":"n","pricing":{"prompt":"0","completion":"0"}})", true},
        {R"({"id":"a","name":"n","pricing":{"prompt":"0"}})", false},
        {R"({"id":"a","name":"n","pricing":{"prompt":"0","completion":"0.0"}})", false},
        {R"({"id":"a","name":"n","pricing":{"prompt":" 0","completion":"0"}})", false},
        {R"({"id":"a","name":"n"})", false},
    };
    for (const FlagCase& item : free) {
        SCOPED_TRACE(item.json);
        EXPECT_EQ(model(item.json).isFree(), item.value);
    }
}

TEST(WireFormatTest, ModelEqualityAndHashCoverEveryField) {
    const OpenRouterModel base = model(R"({"id":"a","name":"n","pricing":{"prompt":"1"}})");
    const OpenRouterModel same = model(R"({"name":"n","pricing":{"prompt":"1"},"id":"a"})");
    const OpenRouterModel otherPrice = model(R"({"id":"a","name":"n","pricing":{"prompt":"2"}})");
    const OpenRouterModel noPrice = model(R"({"id":"a","name":"n"})");
    const OpenRouterModel otherContext =
        model(R"({"id":"a","name":"n","pricing":{"prompt":"1"},"context_length":5})");
    EXPECT_EQ(base, same);
    EXPECT_EQ(qHash(base), qHash(same));
    EXPECT_NE(base, otherPrice);
    EXPECT_NE(base, noPrice);
    EXPECT_NE(base, otherContext);
    const QSet<size_t> hashes{qHash(base), qHash(otherPrice), qHash(noPrice), qHash(otherContext)};
    EXPECT_EQ(hashes.size(), 4);
}

TEST(OpenRouterErrorTest, StatusMappingAndCutMessages) {
    EXPECT_EQ(OpenRouterError::forStatus(404, std::nullopt).description(),
              "OpenRouter rejected the request (HTTP 404).");
    EXPECT_EQ(OpenRouterError::forStatus(404, QString()), OpenRouterError::message(""));
    EXPECT_EQ(OpenRouterError::forStatus(499, "why"), OpenRouterError::message("why"));
    EXPECT_EQ(OpenRouterError::forStatus(403, "why"), OpenRouterError::invalidCredential());
    EXPECT_EQ(OpenRouterError::forStatus(500, "why"), OpenRouterError::unavailable(500));
    EXPECT_NE(OpenRouterError::unavailable(500), OpenRouterError::unavailable(503));

    // 240 user-perceived characters: a combining accent or a flag is never split.
    const QString accented = QString::fromUtf16(u"e\u0301");
    const QString flag = QString::fromUtf16(u"\U0001F1EB\U0001F1F7");
    struct Case {
        QString message;
        QString expected;
    };
    const Case cases[] = {
        {QString(240, u'a'), QString(240, u'a')},
        {QString(241, u'a'), QString(240, u'a')},
        {QString(239, u'a') + accented + "b", QString(239, u'a') + accented},
        {QString(239, u'a') + flag + flag, QString(239, u'a') + flag},
        {accented.repeated(200), accented.repeated(200)},
        {accented.repeated(300), accented.repeated(240)},
    };
    for (const Case& item : cases) {
        EXPECT_EQ(OpenRouterError::shortened(item.message), item.expected);
    }
}

TEST(OpenRouterErrorTest, EveryFailureHasItsOwnUserText) {
    const std::pair<OpenRouterError, QString> cases[] = {
        {OpenRouterError::unavailable(502), "OpenRouter is unavailable (HTTP 502)."},
        {OpenRouterError::message("Provider said no"), "Provider said no"},
        {OpenRouterError::missingCredential(), "Add an OpenRouter API key in Settings."},
        {OpenRouterError::invalidCredential(),
         "OpenRouter rejected this API key. Replace it and try again."},
        {OpenRouterError::paymentRequired(),
         "OpenRouter reports that this request needs additional credit."},
        {OpenRouterError::rateLimited(),
         "OpenRouter is rate limiting requests. Wait a moment and try again."},
        {OpenRouterError::timedOut(), "The OpenRouter request timed out."},
        {OpenRouterError::invalidResponse(), "OpenRouter returned an invalid response."},
        {OpenRouterError::decodingFailed(), "Plimbo could not read the OpenRouter response."},
        {OpenRouterError::cancelled(), "The request was cancelled."},
    };
    for (const auto& [error, text] : cases) {
        EXPECT_EQ(error.description(), text);
    }
}

} // namespace
