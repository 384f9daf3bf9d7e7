package org.nerbo.demo;

import org.nerbo.text.Banner;

/** Greets whoever is named on the command line, through a class of a sibling package. */
public class Hello {
    public static void main(String[] args) {
        System.out.println(Banner.frame("Ciao da " + Hello.class.getName()));
        for (String arg : args) {
            System.out.println("argomento: " + arg);
        }
    }
}
