#include "ui/sample_article.h"

#include <QStringList>

namespace quenvar {

QString sample_article() {
    // 578 characters, 1109 bytes in GBK once the line breaks are "\r\n".
    static const char* const paragraphs[] = {
        "每天都有成千上万篇文章发布到网上，真正被读者记住的却寥寥无几。做SEO的朋友都知道，"
        "搜索引擎越来越看重原创，东拼西凑的文章既留不住读者，也难有好的排名。"
        "怎样写出属于自己的文章？下面是5点建议。",
        "一、想清楚写给谁看。动笔之前先问自己：读者是谁，遇到了什么问题，"
        "读完能得到什么样的帮助。目标越清楚，内容越集中，也越不容易被别人的文章带偏。",
        "二、多写自己的经历。资料可以参考，结论最好来自亲身实践。哪怕是一次失败的尝试、"
        "一段真实的对话，也比空泛的道理更有说服力，这些细节天然就是独一无二的。",
        "三、先搭框架再动笔。把3到5个要点列成提纲，每段只讲清楚一件事。初稿写完，"
        "隔1到2天再回头读，至少读2遍，删掉重复的句子，把含糊的说法改具体。",
        "四、引用要有分寸。借用他人的观点或数据时注明来源，再用自己的话解释和评论，"
        "不要整段复制粘贴。改几个词、换换语序的“伪原创”，读者和搜索引擎都看得出来。",
        "五、标题和开头要真诚。夸张的标题也许能换来一次点击，却换不来信任。"
        "用一两句话点明文章要解决的问题，这比任何技巧都更重要。",
        "写完之后不妨检测一下：把文章按每段36个字切开，取每段开头的12个字到网上搜索，"
        "看看有多少句子与已有网页雷同，重复多的段落就换个角度重写。不必追求100%原创，"
        "但坚持这样做，你的文字会越来越有自己的味道。",
    };
    QStringList texts;
    for (const char* paragraph : paragraphs) texts << QString::fromUtf8(paragraph);
    // A line holding a single space stands between the paragraphs.
    return texts.join(QStringLiteral("\n \n"));
}

}  // namespace quenvar
