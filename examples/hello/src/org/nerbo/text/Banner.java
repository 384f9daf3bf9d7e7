package org.nerbo.text;

/** Draws a frame around a line of text. */
public class Banner {
    public static String frame(String text) {
        String rule = "+" + "-".repeat(text.length() + 2) + "+";
        return rule + "\n| " + text + " |\n" + rule;
    }
}
